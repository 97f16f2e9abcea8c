// The window's one crossing between the logic's texts and Qt's: every text of
// the logic is Windows-1252, file names included, and is converted here once,
// at the window's edge. Texts the window makes itself (Qt's own, the system's
// through Qt) are already Unicode and never pass through here.
#pragma once

#include <QString>
#include <string>

namespace calctopo {

QString FromCore(const std::string& text);
std::string ToCore(const QString& text);

}  // namespace calctopo
