#include "x11_image_transfer.h"

#include <QByteArray>
#include <QtGlobal>
#include <utility>

namespace veltrane {

namespace {
constexpr const char* kNoSharedImages = "QT_XCB_NO_MITSHM";
bool chosenHere = false;
}  // namespace

void sendImagesOverTheConnection()
{
    if (qEnvironmentVariableIsSet(kNoSharedImages)) return;
    qputenv(kNoSharedImages, QByteArrayLiteral("1"));
    chosenHere = true;
}

void forgetImageTransferChoice()
{
    if (std::exchange(chosenHere, false)) qunsetenv(kNoSharedImages);
}

}  // namespace veltrane
