#pragma once

namespace veltrane {

// Qt's X11 backend hands each repaint to the X server as a shared-memory
// image and, before painting into that memory again, waits for the server to
// be done with it: a round trip on every repaint. The window repaints a few
// labels a second, which cost less to send over the connection than to wait
// for. Call before the application object exists, and forgetImageTransferChoice
// once it does, so that the programs the window starts (the browser) do not
// inherit the choice. A choice the user made stays as it was.
void sendImagesOverTheConnection();
void forgetImageTransferChoice();

}  // namespace veltrane
