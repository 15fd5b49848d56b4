#pragma once
// PROJ's functions, from its shared library opened when the first datum
// shift is made rather than when the program starts: loading PROJ and the
// libraries it brings (SQLite, curl, TIFF ...) costs a run that moves no
// position some twenty million instructions.
#include <proj.h>

#include <memory>
#include <string>

#include "platform/shared_library.h"

namespace velorin {

struct ProjLibrary {
  std::unique_ptr<SharedLibrary> library;
  /// Why the library or one of its functions could not be had; empty when
  /// every function below is there.
  std::string error;

  decltype(&proj_context_create) contextCreate = nullptr;
  decltype(&proj_context_destroy) contextDestroy = nullptr;
  decltype(&proj_log_func) logFunc = nullptr;
  decltype(&proj_context_set_enable_network) setEnableNetwork = nullptr;
  decltype(&proj_create) create = nullptr;
  decltype(&proj_destroy) destroy = nullptr;
  decltype(&proj_create_operation_factory_context) createFactory = nullptr;
  decltype(&proj_operation_factory_context_destroy) destroyFactory = nullptr;
  decltype(&proj_create_operations) createOperations = nullptr;
  decltype(&proj_list_get_count) listCount = nullptr;
  decltype(&proj_list_get) listGet = nullptr;
  decltype(&proj_list_destroy) listDestroy = nullptr;
  decltype(&proj_coordoperation_is_instantiable) isInstantiable = nullptr;
  decltype(&proj_normalize_for_visualization) normalizeForVisualization = nullptr;
  decltype(&proj_get_name) getName = nullptr;
  decltype(&proj_get_id_auth_name) getIdAuthority = nullptr;
  decltype(&proj_get_id_code) getIdCode = nullptr;
  decltype(&proj_trans) trans = nullptr;
  decltype(&proj_errno) errorNumber = nullptr;
  decltype(&proj_errno_reset) errorReset = nullptr;
};

/// The library, opened at the first call and kept for the rest of the
/// program.
const ProjLibrary& Proj();

}  // namespace velorin
