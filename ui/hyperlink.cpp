#include "hyperlink.h"

#include <QDesktopServices>
#include <QUrl>

namespace veltrane {

void OpenHyperlink(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}

}  // namespace veltrane
