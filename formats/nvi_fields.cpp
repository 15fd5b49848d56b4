#include "formats/nvi_fields.h"

#include <array>

#include "text/ascii.h"
#include "text/sjis_scan.h"

namespace velorin {

namespace {

struct NviFieldRow {
  NviField field;
  std::string_view name;
  std::string_view key;
  /// Bytes: an address or an e-mail address of 128 and a text or a link of
  /// 256 are long already, and far below what the block's other readers
  /// meet in titles.
  std::size_t limit;
};

constexpr std::array<NviFieldRow, kNviFieldCount> kRows = {{
    {NviField::kAddr, "addr", "ADDR", 128},
    {NviField::kComm, "comm", "COMM", 256},
    {NviField::kHpgl, "hpgl", "HPGL", 256},
    {NviField::kMail, "mail", "MAIL", 128},
}};

const NviFieldRow& RowOf(NviField field) { return kRows[static_cast<std::size_t>(field)]; }

/// What a byte that would break the block becomes.
char SafeByte(char c) {
  switch (c) {
    case '{':
      return '(';
    case '}':
      return ')';
    case ';':
      return ',';
    case '\r':
    case '\n':
    case '\t':
      return ' ';
    default:
      return c;
  }
}

/// COMM: the description, then the comment and the telephone number.
void JoinComm(const FieldTexts& texts, std::string& out) {
  out.clear();
  for (const PointField field :
       {PointField::kDescription, PointField::kComment, PointField::kPhone}) {
    const std::string_view text = texts[field];
    if (text.empty()) continue;
    if (!out.empty()) out += " / ";
    if (field == PointField::kPhone) out += "TEL ";
    out += text;
  }
}

}  // namespace

std::string_view NviFieldName(NviField field) { return RowOf(field).name; }
std::string_view NviFieldKey(NviField field) { return RowOf(field).key; }
std::size_t NviFieldLimit(NviField field) { return RowOf(field).limit; }

std::optional<NviFieldSet> ParseNviFieldList(std::string_view list) {
  NviFieldSet fields;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    if (EqualsIgnoringAsciiCase(name, "all")) {
      fields = NviFieldSet::All();
    } else {
      bool known = false;
      for (const NviFieldRow& row : kRows) {
        if (!EqualsIgnoringAsciiCase(name, row.name)) continue;
        fields.Add(row.field);
        known = true;
      }
      if (!known) return std::nullopt;
    }
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return fields;
}

std::string NviFieldListText(NviFieldSet fields) {
  if (fields == NviFieldSet::All()) return "all";
  std::string text;
  for (const NviFieldRow& row : kRows) {
    if (!fields.Has(row.field)) continue;
    if (!text.empty()) text += ',';
    text += row.name;
  }
  return text;
}

PointFieldSet PointFieldsKeptIn(NviFieldSet fields) {
  PointFieldSet kept;
  if (fields.Has(NviField::kAddr)) kept.Add(PointField::kAddress);
  if (fields.Has(NviField::kComm)) {
    kept.Add(PointField::kDescription);
    kept.Add(PointField::kComment);
    kept.Add(PointField::kPhone);
  }
  if (fields.Has(NviField::kHpgl)) kept.Add(PointField::kLink);
  if (fields.Has(NviField::kMail)) kept.Add(PointField::kEmail);
  return kept;
}

std::int64_t MakeBlockSafe(std::string& text, std::size_t limit, bool& cut) {
  std::int64_t replaced = 0;
  std::size_t end = 0;
  cut = false;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t width = CharWidthAt(text, at);
    if (at + width > limit) {
      cut = true;
      break;
    }
    // A trail byte may be "{" or "}": only a character of its own is one.
    if (width == 1) {
      const char safe = SafeByte(text[at]);
      if (safe != text[at]) {
        text[at] = safe;
        ++replaced;
      }
    }
    at += width;
    end = at;
  }
  text.resize(end);
  // A lead byte left alone at the end would take the closing brace.
  if (EndsInLoneLeadByte(text)) {
    text.back() = '?';
    ++replaced;
  }
  return replaced;
}

std::string NviFitNote(const NviFieldFit& fit) {
  std::string note;
  for (const NviFieldRow& row : kRows) {
    const auto index = static_cast<std::size_t>(row.field);
    const std::int64_t replaced = fit.replaced[index];
    if (replaced == 0 && !fit.cut[index]) continue;
    if (!note.empty()) note += "; ";
    note += std::string(row.key) + ":";
    if (replaced > 0) {
      note += " " + std::to_string(replaced) +
              (replaced == 1 ? " brace, semicolon or line break replaced"
                             : " braces, semicolons or line breaks replaced");
    }
    if (fit.cut[index]) {
      note +=
          std::string(replaced > 0 ? "," : "") + " cut at " + std::to_string(row.limit) + " bytes";
    }
  }
  return note;
}

NviFieldFit FillNviFields(const FieldTexts& texts, NviFieldSet wanted, NviFieldValues& out) {
  // No text is formed here: a run fills the fields of every record.
  NviFieldFit fit;
  const auto fill = [&](NviField field, std::string& value) {
    if (!wanted.Has(field)) {
      value.clear();
      return;
    }
    const auto index = static_cast<std::size_t>(field);
    bool cut = false;
    fit.replaced[index] = MakeBlockSafe(value, NviFieldLimit(field), cut);
    fit.cut[index] = cut;
  };
  out.addr.assign(texts[PointField::kAddress]);
  fill(NviField::kAddr, out.addr);
  JoinComm(texts, out.comm);
  fill(NviField::kComm, out.comm);
  out.hpgl.assign(texts[PointField::kLink]);
  fill(NviField::kHpgl, out.hpgl);
  out.mail.assign(texts[PointField::kEmail]);
  fill(NviField::kMail, out.mail);
  return fit;
}

FieldTexts NviFieldTextsOf(const NviFieldValues& values) {
  FieldTexts texts;
  texts[PointField::kAddress] = values.addr;
  texts[PointField::kDescription] = values.comm;
  texts[PointField::kLink] = values.hpgl;
  texts[PointField::kEmail] = values.mail;
  return texts;
}

}  // namespace velorin
