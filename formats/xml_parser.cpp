#include "formats/xml_parser.h"

#include "text/ascii.h"

namespace velorin {

namespace {

constexpr const char* kShiftJisNames[] = {"shift_jis",   "shift-jis", "sjis",    "x-sjis",
                                          "windows-31j", "cp932",     "ms_kanji"};

}  // namespace

bool IsShiftJisName(std::string_view name) {
  for (const char* known : kShiftJisNames) {
    if (EqualsIgnoringAsciiCase(name, known)) return true;
  }
  return false;
}

std::string UnknownEncodingText(std::string_view formatName, std::string_view encoding) {
  return "the " + std::string(formatName) + " file is in " + std::string(encoding) +
         ", which is not read (UTF-8, UTF-16, ISO-8859-1, US-ASCII and Shift_JIS are)";
}

std::string NotWellFormedText(std::string_view formatName, std::string_view why) {
  return "not a well-formed " + std::string(formatName) + " file: " + std::string(why);
}

std::string MarkupTooLongText() {
  return "a single piece of markup longer than " + std::to_string(XmlParser::kMaxMarkupSize) +
         " bytes";
}

std::string OwnDtdText() {
  return "the file has a DTD of its own, which is refused (its entities can expand without bound "
         "or read other files, its defaults add attributes the file does not show)";
}

std::string EntitiesDeclaredText() {
  return "the file declares entities, which are refused (they can expand without bound or read "
         "other files)";
}

std::string UndefinedEntityText(std::string_view name) {
  return "the entity &" + std::string(name) + "; is not defined in the file";
}

}  // namespace velorin
