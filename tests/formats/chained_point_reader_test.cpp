// The layouts of a merge's tables, each said once.
#include "formats/chained_point_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "formats/csv_reader.h"
#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

TEST(ChainedPointReaderTest, SaysEachLayoutOfItsInputsOnce) {
  const std::vector<std::string> tables = {"name;lat;lon\nA;1,5;2\n", "name,lat,lon\nB,1,2\n",
                                           "name;lat;lon\nC;1;2,5\n", "lat\tlon\n1\t2\n"};
  std::vector<std::unique_ptr<testing::MemorySource>> sources;
  for (const std::string& table : tables) {
    sources.push_back(std::make_unique<testing::MemorySource>(table));
  }
  ChainedPointReader chain(std::make_unique<CsvReader>(*sources[0]), tables.size(),
                           [&sources](std::size_t index) -> std::unique_ptr<PointReader> {
                             return std::make_unique<CsvReader>(*sources[index]);
                           });
  EXPECT_EQ(testing::ReadAll(chain),
            (std::vector<std::string>{"2 A 2 1.5", "2 B 2 1", "2 C 2.5 1", "2  2 1"}));
  EXPECT_EQ(chain.layoutNote(),
            "fields separated by \";\" with decimal commas; fields separated by TABs");
}

}  // namespace
}  // namespace velorin
