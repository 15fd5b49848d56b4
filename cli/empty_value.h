#pragma once
// An option given an empty value ("--match=", "--sort ''") is a usage error:
// the argument parser would take the next argument as the value of
// "--match=", so that "--match= in.pot old.gpx" read old.gpx with the
// pattern "in.pot".
#include <string>
#include <vector>

namespace CLI {  // NOLINT(readability-identifier-naming): CLI11's own name
class App;
}  // namespace CLI

namespace velorin {

/// The usage error, without the program's name, for the first option of
/// `arguments` (the command line after the program's name) that is given
/// an empty value; empty when none is. Names after "--" are no options.
std::string EmptyOptionValue(const std::vector<std::string>& arguments, const CLI::App& app);

}  // namespace velorin
