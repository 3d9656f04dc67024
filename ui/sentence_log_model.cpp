// SPDX-License-Identifier: BSD-2-Clause
#include "sentence_log_model.h"

#include <limits>

#include "device_text.h"

namespace veltrane {

namespace {
// While a pass is paused, look again at the monitor's next tick rather than on
// every yield: Qt fires coarse timers of one interval together, so the look
// costs no wake-up of its own, as a shorter interval of its own would.
constexpr int kRetryMilliseconds = 100;
// A view counts rows in int.
constexpr std::size_t kMaxViewRows = static_cast<std::size_t>(std::numeric_limits<int>::max());
}  // namespace

SentenceLogModel::SentenceLogModel(SentenceLog& log, std::function<bool()> holdRows)
    : log_(log), holdRows_(std::move(holdRows))
{
    flushTimer_.setSingleShot(true);
    connect(&flushTimer_, &QTimer::timeout, this, &SentenceLogModel::flushWhenSettled);
    log_.addObserver(this);
}

SentenceLogModel::~SentenceLogModel() { log_.removeObserver(this); }

int SentenceLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_);
}

int SentenceLogModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant SentenceLogModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || static_cast<std::size_t>(index.row()) >= shown_)
        return {};
    // Rows not yet flushed sit above the ones the view knows of.
    const std::size_t waiting = log_.size() - shown_;
    const LogRow row = log_.row(waiting + static_cast<std::size_t>(index.row()));
    if (index.column() == 0) return QString::fromStdString(formatTimestamp(row.time));
    return QString::fromStdString(escapeDeviceText(row.data));
}

QVariant SentenceLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("Time") : QStringLiteral("NMEA Data");
}

void SentenceLogModel::flush()
{
    const std::size_t total = std::min(log_.size(), kMaxViewRows);
    if (total <= shown_) return;
    beginInsertRows({}, 0, static_cast<int>(total - shown_ - 1));
    shown_ = total;
    endInsertRows();
}

void SentenceLogModel::rowInserted(const LogRow&)
{
    if (!flushTimer_.isActive()) flushTimer_.start(0);
}

void SentenceLogModel::cleared()
{
    flushTimer_.stop();
    beginResetModel();
    shown_ = 0;
    endResetModel();
}

void SentenceLogModel::flushWhenSettled()
{
    if (holdRows_ && holdRows_()) {
        flushTimer_.start(kRetryMilliseconds);
        return;
    }
    flush();
}

}  // namespace veltrane
