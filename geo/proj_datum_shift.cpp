#include "geo/proj_datum_shift.h"

#include <cmath>
#include <string>

#include "geo/proj_library.h"

namespace velorin {

namespace {

struct ProjFree {
  void operator()(PJ* object) const { Proj().destroy(object); }
  void operator()(PJ_OBJ_LIST* list) const { Proj().listDestroy(list); }
  void operator()(PJ_OPERATION_FACTORY_CONTEXT* factory) const { Proj().destroyFactory(factory); }
  void operator()(PJ_CONTEXT* context) const { Proj().contextDestroy(context); }
};

template <typename T>
using ProjOwned = std::unique_ptr<T, ProjFree>;

/// PROJ's first message, the cause of what follows it, kept rather than
/// printed on standard error.
void KeepMessage(void* kept, int /*level*/, const char* message) {
  auto& first = *static_cast<std::string*>(kept);
  if (first.empty() && message != nullptr) first = message;
}

/// "PROJ knows no ...: proj_create: Cannot find proj.db".
std::string ReasonOf(const std::string& message, const char* what) {
  std::string reason = std::string("PROJ ") + what;
  if (!message.empty()) reason += ": " + message;
  return reason;
}

/// "EPSG:15484 \"Tokyo to WGS 84 (108)\"", or the name alone.
std::string OperationWords(const ProjLibrary& proj, PJ* operation) {
  const char* name = proj.getName(operation);
  const char* authority = proj.getIdAuthority(operation, 0);
  const char* code = proj.getIdCode(operation, 0);
  std::string words;
  if (authority != nullptr && code != nullptr) words = std::string(authority) + ":" + code + " ";
  return words + "\"" + (name != nullptr ? name : "") + "\"";
}

/// The operation PROJ ranks first from the Tokyo datum to WGS 84 among
/// those it can carry out, its axes turned to longitude, then latitude.
ProjOwned<PJ> ChooseOperation(PJ_CONTEXT* context, const std::string& message, std::string& words,
                              std::string& why) {
  const ProjLibrary& proj = Proj();
  const ProjOwned<PJ> source(proj.create(context, std::string(DatumCrs(Datum::kTokyo)).c_str()));
  const ProjOwned<PJ> target(proj.create(context, std::string(DatumCrs(Datum::kWgs84)).c_str()));
  if (!source || !target) {
    why = ReasonOf(message, "knows no Tokyo datum or WGS 84");
    return nullptr;
  }
  const ProjOwned<PJ_OPERATION_FACTORY_CONTEXT> factory(proj.createFactory(context, nullptr));
  const ProjOwned<PJ_OBJ_LIST> found(
      factory ? proj.createOperations(context, source.get(), target.get(), factory.get())
              : nullptr);
  const int count = found ? proj.listCount(found.get()) : 0;
  for (int i = 0; i < count; ++i) {
    const ProjOwned<PJ> candidate(proj.listGet(context, found.get(), i));
    if (!candidate || proj.isInstantiable(context, candidate.get()) == 0) continue;
    ProjOwned<PJ> normalized(proj.normalizeForVisualization(context, candidate.get()));
    if (!normalized) continue;
    words = OperationWords(proj, candidate.get());
    return normalized;
  }
  why = ReasonOf(message, "finds no operation from the Tokyo datum to WGS 84");
  return nullptr;
}

}  // namespace

struct ProjDatumShift::Handles {
  ProjOwned<PJ_CONTEXT> context;
  ProjOwned<PJ> operation;
  std::string message;  ///< PROJ's first
};

std::unique_ptr<ProjDatumShift> ProjDatumShift::Make(Datum from, Datum to, std::string& why) {
  if (from == to) {
    why = "no shift from a datum to itself";
    return nullptr;
  }
  const ProjLibrary& proj = Proj();
  if (!proj.error.empty()) {
    why = "PROJ could not be loaded: " + proj.error;
    return nullptr;
  }
  auto handles = std::make_unique<Handles>();
  handles->context.reset(proj.contextCreate());
  if (!handles->context) {
    why = "PROJ could not start";
    return nullptr;
  }
  // PROJ's messages would reach standard error: they become the reason
  // instead. Grids are never fetched from the network.
  proj.logFunc(handles->context.get(), &handles->message, &KeepMessage);
  proj.setEnableNetwork(handles->context.get(), 0);
  std::string operation;
  handles->operation = ChooseOperation(handles->context.get(), handles->message, operation, why);
  if (!handles->operation) return nullptr;
  const bool backwards = from == Datum::kWgs84;
  if (backwards) operation = "the inverse of " + operation;
  return std::unique_ptr<ProjDatumShift>(
      new ProjDatumShift(std::move(handles), backwards, std::move(operation)));
}

ProjDatumShift::ProjDatumShift(std::unique_ptr<Handles> handles, bool backwards,
                               std::string operation)
    : handles_(std::move(handles)), backwards_(backwards), operation_(std::move(operation)) {}

ProjDatumShift::~ProjDatumShift() = default;

bool ProjDatumShift::Move(double& longitude, double& latitude) {
  if (!std::isfinite(longitude) || !(std::fabs(latitude) <= 90.0)) return false;
  const ProjLibrary& proj = Proj();
  PJ* operation = handles_->operation.get();
  PJ_COORD position{};
  position.v[0] = longitude;
  position.v[1] = latitude;
  const PJ_COORD moved = proj.trans(operation, backwards_ ? PJ_INV : PJ_FWD, position);
  if (proj.errorNumber(operation) != 0) {
    proj.errorReset(operation);
    return false;
  }
  // A failed point comes back as HUGE_VAL.
  if (!std::isfinite(moved.v[0]) || !std::isfinite(moved.v[1])) return false;
  longitude = moved.v[0];
  latitude = moved.v[1];
  return true;
}

std::unique_ptr<DatumShift> MakeDatumShift(Datum from, Datum to, std::string& why) {
  return ProjDatumShift::Make(from, to, why);
}

}  // namespace velorin
