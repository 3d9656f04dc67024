// SPDX-License-Identifier: BSD-2-Clause
#include "failure_report.h"

#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "app_identity.h"
#include "failure.h"

namespace veltrane {

namespace {
// The number a failure without one of its own is shown with when memory runs out.
constexpr int kOutOfMemory = 7;
}  // namespace

FailureReport describeFailure(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const Failure& known) {
        return {known.number(), QString::fromLocal8Bit(known.what())};
    } catch (const std::bad_alloc&) {
        return {kOutOfMemory, QStringLiteral("out of memory: close other programs and start again")};
    } catch (const std::exception& other) {
        return {kRuntimeFailure, QString::fromLocal8Bit(other.what())};
    } catch (...) {
        return {kRuntimeFailure, QStringLiteral("unknown failure")};
    }
}

QString failureMessage(const FailureReport& report)
{
    return QStringLiteral("Error %1: %2\n\n%3 will now close.")
        .arg(report.number)
        .arg(report.description, QString::fromLatin1(kApplicationTitle));
}

void reportFailureAndExit(std::exception_ptr failure)
{
    const QString message = failureMessage(describeFailure(failure));
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::fflush(nullptr);
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle), message, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    std::_Exit(EXIT_FAILURE);
}

}  // namespace veltrane
