// SPDX-License-Identifier: BSD-2-Clause
#pragma once

namespace veltrane {

// Qt's X11 backend hands each repaint to the X server as a shared-memory
// image and, before painting into that memory again, waits for the server to
// be done with it: a round trip on every repaint. The window repaints a few
// labels a second, which cost less to send over the connection than to wait
// for: a start-up choice, made while the application object is built.
inline constexpr const char* kImagesOverTheConnection = "QT_XCB_NO_MITSHM";

}  // namespace veltrane
