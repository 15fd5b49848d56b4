// The NVI block's own fields: the list that asks for them, what each is
// filled with, and that no value can break the block.
#include "formats/nvi_fields.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace velorin {
namespace {

struct ListCase {
  const char* name;
  std::string list;
  std::optional<std::string> fields;  ///< as NviFieldListText says them; none: refused
};

void PrintTo(const ListCase& c, std::ostream* out) { *out << c.name; }

class NviFieldListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(NviFieldListTest, NamesOrRefuses) {
  const std::optional<NviFieldSet> fields = ParseNviFieldList(GetParam().list);
  ASSERT_EQ(fields.has_value(), GetParam().fields.has_value());
  if (fields) {
    EXPECT_EQ(NviFieldListText(*fields), *GetParam().fields);
  }
}

INSTANTIATE_TEST_SUITE_P(Lists, NviFieldListTest,
                         ::testing::Values(ListCase{"One", "addr", "addr"},
                                           ListCase{"SeveralInAnyOrderAndCase", "MAIL,addr",
                                                    "addr,mail"},
                                           ListCase{"AllFour", "addr,comm,hpgl,mail", "all"},
                                           ListCase{"AllByName", "all", "all"},
                                           ListCase{"RepeatedCountsOnce", "comm,comm", "comm"},
                                           ListCase{"UnknownName", "addr,lnkf", std::nullopt},
                                           ListCase{"Empty", "", std::nullopt},
                                           ListCase{"EmptyItem", "addr,", std::nullopt},
                                           ListCase{"Blank", "addr, comm", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SafeCase {
  const char* name;
  std::string text;
  std::size_t limit;
  std::string safe;
  std::int64_t replaced;
  bool cut;
};

void PrintTo(const SafeCase& c, std::ostream* out) { *out << c.name; }

class BlockSafeTest : public ::testing::TestWithParam<SafeCase> {};

TEST_P(BlockSafeTest, NothingBreaksTheBlock) {
  std::string text = GetParam().text;
  bool cut = false;
  EXPECT_EQ(MakeBlockSafe(text, GetParam().limit, cut), GetParam().replaced);
  EXPECT_EQ(text, GetParam().safe);
  EXPECT_EQ(cut, GetParam().cut);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BlockSafeTest,
    ::testing::Values(
        SafeCase{"PlainStays", "1-2-3 Example-cho", 128, "1-2-3 Example-cho", 0, false},
        SafeCase{"BracesSemicolonsAndBreaks", "a};\r\n{b\tc", 128, "a),  (b c", 6, false},
        // Two characters whose trail bytes are "{" and "}" on their own.
        SafeCase{"TrailBytesAreNoBraces", "\x96\x7B\x81\x7D", 128, "\x96\x7B\x81\x7D", 0, false},
        SafeCase{"CutOnACharactersEdge", "ab\x93\x8C\x8B\x9E", 5, "ab\x93\x8C", 0, true},
        SafeCase{"CutExactlyAtTheLimit", "abcd", 4, "abcd", 0, false},
        SafeCase{"ReplacedAndCut", "a;b;c;d", 3, "a,b", 1, true},
        // A lead byte alone at the end would take the closing brace.
        SafeCase{"LeadByteAtTheEnd", "desc\x81", 128, "desc?", 1, false},
        SafeCase{"LeadByteLeftAtTheEndByTheCut", "a\x81 b", 2, "a?", 1, true},
        SafeCase{"LeadByteInsideStays", "\x81 b", 128, "\x81 b", 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct FillCase {
  const char* name;
  std::string wanted;
  FieldTexts texts;
  NviFieldValues values;
  std::int64_t replaced;
  std::string note;
};

void PrintTo(const FillCase& c, std::ostream* out) { *out << c.name; }

class FillNviFieldsTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillNviFieldsTest, EachFieldFromItsTexts) {
  NviFieldValues values;
  const NviFieldFit fit =
      FillNviFields(GetParam().texts, *ParseNviFieldList(GetParam().wanted), values);
  EXPECT_EQ(values.addr, GetParam().values.addr);
  EXPECT_EQ(values.comm, GetParam().values.comm);
  EXPECT_EQ(values.hpgl, GetParam().values.hpgl);
  EXPECT_EQ(values.mail, GetParam().values.mail);
  std::int64_t replaced = 0;
  for (const std::int64_t count : fit.replaced) replaced += count;
  EXPECT_EQ(replaced, GetParam().replaced);
  EXPECT_EQ(NviFitNote(fit), GetParam().note);
}

FieldTexts Texts(std::string_view description, std::string_view comment, std::string_view address,
                 std::string_view link, std::string_view phone, std::string_view email) {
  FieldTexts texts;
  texts[PointField::kDescription] = description;
  texts[PointField::kComment] = comment;
  texts[PointField::kAddress] = address;
  texts[PointField::kLink] = link;
  texts[PointField::kPhone] = phone;
  texts[PointField::kEmail] = email;
  return texts;
}

const std::string kLongAddress(200, 'x');

const FieldTexts kShop = Texts("Bakery", "open late", "1-2-3 Example-cho", "https://example.com/",
                               "03-0000-0000", "info@example.com");

INSTANTIATE_TEST_SUITE_P(
    Fields, FillNviFieldsTest,
    ::testing::Values(
        FillCase{"All",
                 "all",
                 kShop,
                 {"1-2-3 Example-cho", "Bakery / open late / TEL 03-0000-0000",
                  "https://example.com/", "info@example.com"},
                 0,
                 ""},
        FillCase{"OnlyThoseAsked", "addr,mail", kShop,
                 NviFieldValues{"1-2-3 Example-cho", "", "", "info@example.com"}, 0, ""},
        FillCase{"CommFromWhatThereIs", "comm", Texts("", "", "", "", "03", ""),
                 NviFieldValues{"", "TEL 03", "", ""}, 0, ""},
        FillCase{"BrokenValuesNamed", "all", Texts("a;b", "", "{x}", "", "", ""),
                 NviFieldValues{"(x)", "a,b", "", ""}, 3,
                 "ADDR: 2 braces, semicolons or line breaks replaced; COMM: 1 brace, semicolon "
                 "or line break replaced"},
        FillCase{"LongAddressCut", "addr", Texts("", "", kLongAddress, "", "", ""),
                 NviFieldValues{std::string(128, 'x'), "", "", ""}, 0, "ADDR: cut at 128 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PointFieldsKeptIn, CommKeepsTheDescriptionCommentAndTelephone) {
  const PointFieldSet comm = PointFieldsKeptIn(*ParseNviFieldList("comm"));
  EXPECT_EQ(comm,
            (PointFieldSet{PointField::kDescription, PointField::kComment, PointField::kPhone}));
  EXPECT_EQ(PointFieldsKeptIn(NviFieldSet::All()), PointFieldSet::All());
  EXPECT_TRUE(PointFieldsKeptIn({}).Empty());
}

}  // namespace
}  // namespace velorin
