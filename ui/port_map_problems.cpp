// SPDX-License-Identifier: BSD-2-Clause
#include "port_map_problems.h"

#include <QMessageBox>
#include <cstdio>

#include "app_identity.h"
#include "device_text.h"

namespace veltrane {

void showPortMapProblems(QWidget& window, const std::vector<std::string>& problems)
{
    std::string text = "Some Comm numbers could not be mapped to devices:\n";
    for (const std::string& problem : problems) {
        const std::string shown = escapeDeviceText(problem);
        std::fprintf(stderr, "veltrane: %s\n", shown.c_str());
        text += "\n" + shown;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kApplicationTitle), QString::fromStdString(text),
                    QMessageBox::Ok, &window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace veltrane
