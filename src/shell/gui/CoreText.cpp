#include "shell/gui/CoreText.h"

#include "data/TextNumbers.h"

namespace calctopo {

QString FromCore(const std::string& text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

std::string ToCore(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

}  // namespace calctopo
