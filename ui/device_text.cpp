#include "device_text.h"

namespace veltrane {

QString deviceText(std::string_view latin1)
{
    QString text;
    text.reserve(static_cast<qsizetype>(latin1.size()));
    for (const char c : latin1) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20)
            text.append(QChar(0x2400 + code));
        else if (code == 0x7f)
            text.append(QChar(0x2421));
        else if (code >= 0x80 && code < 0xa0)
            text.append(QChar::ReplacementCharacter);
        else
            text.append(QChar(code));
    }
    return text;
}

}  // namespace veltrane
