#include "cli/empty_value.h"

#include <CLI/CLI.hpp>

namespace velorin {

namespace {

/// The command `name` names, if any.
const CLI::App* CommandNamed(const CLI::App& app, const std::string& name) {
  for (const CLI::App* command : app.get_subcommands({})) {
    if (command->check_name(name)) return command;
  }
  return nullptr;
}

std::string EmptyValueText(const std::string& option) {
  std::string text = option + " is given an empty value";
  if (option.rfind("--", 0) == 0) text += ": write the value after " + option + "=";
  return text;
}

}  // namespace

std::string EmptyOptionValue(const std::vector<std::string>& arguments, const CLI::App& app) {
  const CLI::App* command = &app;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--") break;
    if (argument.size() < 2 || argument[0] != '-') {
      if (command == &app) {
        if (const CLI::App* named = CommandNamed(app, argument)) command = named;
      }
      continue;
    }
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const CLI::Option* option = command->get_option_no_throw(name);
    if (option == nullptr) continue;
    if (equals != std::string::npos) {
      if (equals + 1 == argument.size()) return EmptyValueText(name);
      continue;
    }
    // "--sort ''": the value is the next argument.
    if (option->get_items_expected_max() > 0 && i + 1 < arguments.size()) {
      if (arguments[i + 1].empty()) return EmptyValueText(name);
      ++i;
    }
  }
  return {};
}

}  // namespace velorin
