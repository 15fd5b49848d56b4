#include "gui/program_icon.h"

#include <QString>

// The resources live in a static library: a linker keeps them only when
// something refers to them, so they are registered by name on first use.
static void RegisterIconResources() { Q_INIT_RESOURCE(velorin_icons); }

namespace velorin {

QIcon VelorinIcon() {
  static const bool registered = (RegisterIconResources(), true);
  (void)registered;
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/velorin/icon-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace velorin
