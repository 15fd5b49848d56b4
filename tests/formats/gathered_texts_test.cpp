// A point's further texts as a reader meets them, put together so that
// none is lost: one table of texts offered in order, and what each field
// holds after.
#include "formats/gathered_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velorin {
namespace {

struct Offered {
  PointField field;
  std::string text;
  bool addressPart = false;
  bool cut = false;
};

struct GatherCase {
  const char* name;
  std::vector<Offered> offered;
  /// "field=text" for each field that holds one, "*" after a cut one.
  std::vector<std::string> fields;
};

void PrintTo(const GatherCase& c, std::ostream* out) { *out << c.name; }

std::vector<std::string> FieldsOf(const PointFields& fields) {
  std::vector<std::string> texts;
  for (const PointField field : kPointFields) {
    if (fields.Get(field).empty()) continue;
    texts.push_back(std::string(WordsOf(field).one) + "=" + std::string(fields.Get(field)) +
                    (fields.WasCut(field) ? "*" : ""));
  }
  return texts;
}

class GatheredTextsTest : public ::testing::TestWithParam<GatherCase> {};

TEST_P(GatheredTextsTest, KeepsEveryText) {
  GatheredTexts texts;
  // Twice over the same gatherer: what one point left is gone for the next.
  for (int round = 0; round < 2; ++round) {
    for (const Offered& offered : GetParam().offered) {
      texts.Offer(offered.field, offered.text, offered.addressPart, offered.cut);
    }
    PointFields copied;
    texts.CopyInto(copied, TitleEncoding::kUtf8);
    PointFields moved;
    texts.MoveInto(moved, TitleEncoding::kUtf8);
    EXPECT_EQ(FieldsOf(copied), GetParam().fields) << "round " << round;
    EXPECT_EQ(FieldsOf(moved), GetParam().fields) << "round " << round;
    EXPECT_FALSE(texts.Any());
  }
}

using P = PointField;

INSTANTIATE_TEST_SUITE_P(
    Texts, GatheredTextsTest,
    ::testing::Values(GatherCase{"OneOfEach",
                                 {{P::kDescription, "D"}, {P::kLink, "https://a/"}},
                                 {"description=D", "link=https://a/"}},
                      GatherCase{"SecondDescriptionToTheComment",
                                 {{P::kDescription, "notes"}, {P::kDescription, "description"}},
                                 {"description=notes", "comment=description"}},
                      GatherCase{
                          "SecondDescriptionAfterTheComment",
                          {{P::kDescription, "D1"}, {P::kComment, "C"}, {P::kDescription, "D2"}},
                          {"description=D1", "comment=C / D2"}},
                      GatherCase{"SecondLinkToTheComment",
                                 {{P::kLink, "https://a/"}, {P::kLink, "https://b/"}},
                                 {"comment=https://b/", "link=https://a/"}},
                      GatherCase{"SameTextTwiceOnce",
                                 {{P::kLink, "https://a/"}, {P::kLink, "https://a/"}},
                                 {"link=https://a/"}},
                      GatherCase{"SecondPhoneJoins",
                                 {{P::kPhone, "03-1"}, {P::kPhone, "03-2"}},
                                 {"telephone number=03-1 / 03-2"}},
                      GatherCase{"AddressFromItsParts",
                                 {{P::kAddress, "1-2-3 Ginza"},
                                  {P::kAddress, "Chuo", true},
                                  {P::kAddress, "104-0061", true},
                                  {P::kAddress, "Tokyo", true},
                                  {P::kAddress, " ", true},
                                  {P::kAddress, "Japan", true}},
                                 {"address=1-2-3 Ginza, Chuo, 104-0061, Tokyo, Japan"}},
                      GatherCase{"WhiteSpaceAddsNothing",
                                 {{P::kDescription, " \t"}, {P::kDescription, "D"}},
                                 {"description=D"}},
                      GatherCase{"CutMarksTheFieldItWentTo",
                                 {{P::kDescription, "D"}, {P::kDescription, "long", false, true}},
                                 {"description=D", "comment=long*"}},
                      GatherCase{"NothingOffered", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
