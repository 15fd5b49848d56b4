#include "cli/usage_error.h"

#include <CLI/CLI.hpp>

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
    if (owner != nullptr) text += " (it belongs to '" + owner->get_name() + "')";
    return text;
  }
  return error.what();
}

}  // namespace velorin
