#include "startup/data_folder.h"

#include <filesystem>

#include "platform/program_folder.h"

namespace velorin {

std::string DataFromProgram() { return VELORIN_DATA_FROM_PROGRAM; }

std::string NormalFolder(const std::string& path) {
  std::string folder = std::filesystem::path(path).lexically_normal().string();
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

std::string InstalledDataFolder(const std::string& programFolder,
                                const std::string& dataFromProgram) {
  return NormalFolder(programFolder + dataFromProgram);
}

std::string DataFolderHolding(const std::string& fileName) {
  const std::string program = ProgramFolder();
  const std::string beside = program + fileName;
  std::error_code error;
  if (std::filesystem::is_regular_file(std::u8string(beside.begin(), beside.end()), error)) {
    return program;
  }
  return InstalledDataFolder(program, DataFromProgram());
}

}  // namespace velorin
