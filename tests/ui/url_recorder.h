// SPDX-License-Identifier: BSD-2-Clause
#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace veltrane::testing {

// Takes the desktop's place for opening addresses.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

}  // namespace veltrane::testing
