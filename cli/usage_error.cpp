#include "cli/usage_error.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <vector>

namespace velorin {

namespace {

std::string CommandList(const CLI::App& app) {
  std::string list;
  for (const CLI::App* command : app.get_subcommands({})) {
    list += (list.empty() ? "" : ", ") + command->get_name();
  }
  return list;
}

/// "--force" of "--force=x".
std::string OptionName(const std::string& argument) {
  return argument.substr(0, argument.find('='));
}

/// The command that knows the option `name`, if any.
const CLI::App* CommandWithOption(const CLI::App& app, const std::string& name) {
  for (const CLI::App* command : app.get_subcommands({})) {
    for (const CLI::Option* option : command->get_options()) {
      if (option->check_name(name)) return command;
    }
  }
  return nullptr;
}

/// How many letters must change to turn `a` into `b` (inserted, dropped,
/// swapped next to each other or replaced).
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t replace = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, replace});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

/// " (did you mean --force?)" for the option of `command` nearest to
/// `name`, when one is near enough to be a slip; empty otherwise.
std::string Suggestion(const CLI::App& command, const std::string& name) {
  std::string best;
  std::size_t bestDistance = 3;  // two slips at most
  for (const CLI::Option* option : command.get_options()) {
    for (const std::string& longName : option->get_lnames()) {
      const std::string candidate = "--" + longName;
      const std::size_t distance = EditDistance(name, candidate);
      if (distance < bestDistance) {
        bestDistance = distance;
        best = candidate;
      }
    }
  }
  return best.empty() ? std::string() : " (did you mean " + best + "?)";
}

}  // namespace

std::string UsageErrorText(const CLI::ParseError& error, const CLI::App& app) {
  const std::vector<std::string> extras = app.remaining(true);
  const std::string first = extras.empty() ? std::string() : extras.front();
  const bool isOption = !first.empty() && first.front() == '-' && first != "-";
  const CLI::App* command = nullptr;
  for (const CLI::App* candidate : app.get_subcommands({})) {
    if (candidate->parsed()) command = candidate;
  }

  if (command == nullptr) {
    if (first.empty()) return "a command is needed: " + CommandList(app);
    if (!isOption) return "unknown command '" + first + "' (commands: " + CommandList(app) + ")";
    if (const CLI::App* owner = CommandWithOption(app, OptionName(first))) {
      return "option '" + OptionName(first) + "' belongs after its command: velorin-cli " +
             owner->get_name() + " " + OptionName(first) + " ...";
    }
    return "unknown option '" + OptionName(first) + "'";
  }
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr && !first.empty()) {
    if (!isOption) return "unexpected argument '" + first + "' for '" + command->get_name() + "'";
    const std::string name = OptionName(first);
    const CLI::App* owner = CommandWithOption(app, name);
    if (owner == command) {
      // Given before the command word, where only --help and --version go.
      return "option '" + name + "' belongs after its command: velorin-cli " + command->get_name() +
             " " + name + " ...";
    }
    std::string text = "'" + command->get_name() + "' has no option '" + name + "'";
    if (owner != nullptr) return text + " (it belongs to '" + owner->get_name() + "')";
    return text + Suggestion(*command, name);
  }
  return error.what();
}

}  // namespace velorin
