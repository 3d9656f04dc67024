#include "device_text.h"

namespace veltrane {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool isControl(unsigned char c) { return c < 0x20 || (c >= 0x7f && c < 0xa0); }
}  // namespace

QString deviceText(std::string_view latin1)
{
    QString text;
    text.reserve(static_cast<qsizetype>(latin1.size()));
    for (const char byte : latin1) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '\\')
            text.append(QLatin1String("\\\\"));
        else if (c == '\r')
            text.append(QLatin1String("\\r"));
        else if (c == '\n')
            text.append(QLatin1String("\\n"));
        else if (c == '\t')
            text.append(QLatin1String("\\t"));
        else if (isControl(c))
            text.append(QLatin1String("\\x")).append(QLatin1Char(kHexDigits[c >> 4])).append(QLatin1Char(kHexDigits[c & 0xf]));
        else
            text.append(QChar(c));
    }
    return text;
}

}  // namespace veltrane
