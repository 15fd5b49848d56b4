#pragma once
// The version of both programs, the application id that names the desktop
// entry, the icon and the AppStream file, and the project's home.

namespace velorin {

inline constexpr char kVersionNumber[] = "0.2.0";
inline constexpr char kApplicationId[] = "io.github.velorin.Velorin";
/// The project's home, named by the application id; tile servers learn from
/// the User-Agent whom to ask about the requests.
inline constexpr char kProjectUrl[] = "https://github.com/velorin/velorin";

}  // namespace velorin
