#include "x11_image_transfer.h"

#include "qt_start_up_choice.h"

namespace veltrane {

namespace {
StartUpChoice noSharedImages("QT_XCB_NO_MITSHM");
}  // namespace

void sendImagesOverTheConnection() { noSharedImages.make(); }

void forgetImageTransferChoice() { noSharedImages.forget(); }

}  // namespace veltrane
