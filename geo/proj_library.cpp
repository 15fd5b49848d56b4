#include "geo/proj_library.h"

namespace velorin {

namespace {

/// Sets `function` to the library's `name`; notes it when missing.
template <typename Function>
void Take(ProjLibrary& proj, Function& function, const char* name) {
  if (!proj.error.empty()) return;
  function = reinterpret_cast<Function>(proj.library->Find(name));
  if (function == nullptr) proj.error = std::string("no ") + name + " in " + VELORIN_PROJ_LIBRARY;
}

ProjLibrary Load() {
  ProjLibrary proj;
  proj.library = SharedLibrary::Open(VELORIN_PROJ_LIBRARY, proj.error);
  if (!proj.library) {
    if (proj.error.empty()) proj.error = std::string("cannot load ") + VELORIN_PROJ_LIBRARY;
    return proj;
  }
  Take(proj, proj.contextCreate, "proj_context_create");
  Take(proj, proj.contextDestroy, "proj_context_destroy");
  Take(proj, proj.logFunc, "proj_log_func");
  Take(proj, proj.setEnableNetwork, "proj_context_set_enable_network");
  Take(proj, proj.create, "proj_create");
  Take(proj, proj.destroy, "proj_destroy");
  Take(proj, proj.createFactory, "proj_create_operation_factory_context");
  Take(proj, proj.destroyFactory, "proj_operation_factory_context_destroy");
  Take(proj, proj.createOperations, "proj_create_operations");
  Take(proj, proj.listCount, "proj_list_get_count");
  Take(proj, proj.listGet, "proj_list_get");
  Take(proj, proj.listDestroy, "proj_list_destroy");
  Take(proj, proj.isInstantiable, "proj_coordoperation_is_instantiable");
  Take(proj, proj.normalizeForVisualization, "proj_normalize_for_visualization");
  Take(proj, proj.getName, "proj_get_name");
  Take(proj, proj.getIdAuthority, "proj_get_id_auth_name");
  Take(proj, proj.getIdCode, "proj_get_id_code");
  Take(proj, proj.trans, "proj_trans");
  Take(proj, proj.errorNumber, "proj_errno");
  Take(proj, proj.errorReset, "proj_errno_reset");
  return proj;
}

}  // namespace

const ProjLibrary& Proj() {
  static const ProjLibrary library = Load();
  return library;
}

}  // namespace velorin
