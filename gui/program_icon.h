#pragma once
// The program icon, drawn once as SVG and built into the program at the sizes
// of the installed icon theme: the main window, the About box and the help
// viewer all carry it.
#include <QIcon>

namespace velorin {

/// Every size from 16 to 256 pixels; never null in a built program.
QIcon VelorinIcon();

}  // namespace velorin
