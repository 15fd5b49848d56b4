#pragma once
// The version of both programs, and the application id that names the
// desktop entry, the icon and the AppStream file.

namespace velorin {

inline constexpr char kVersionNumber[] = "0.2.0";
inline constexpr char kApplicationId[] = "velorin";

}  // namespace velorin
