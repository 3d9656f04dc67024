// SPDX-License-Identifier: BSD-2-Clause
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "field_labels.h"
#include "qstring_printer.h"
#include "sentence_log_model.h"

namespace veltrane {
namespace {

LocalTime at(int second) { return {2024, 3, 9, 14, 5, second}; }

QString cell(const SentenceLogModel& model, int row, int column)
{
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

TEST(SentenceLogModel, RowsOfOnePassReachTheViewInOneInsertNewestFirst)
{
    SentenceLog log;
    bool passRunning = true;
    SentenceLogModel model(log, [&] { return passRunning; });
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    for (int i = 0; i < 1000; ++i) log.insertFirst(at(i % 60), "GPGGA," + std::to_string(i));
    QTest::qWait(60);
    EXPECT_EQ(model.rowCount(), 0) << "rows reached the view while the pass was still running";

    passRunning = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 1000; }, 1000));
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 0);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 999);
    EXPECT_EQ(cell(model, 0, 1), "GPGGA,999");
    EXPECT_EQ(cell(model, 999, 1), "GPGGA,0");
    EXPECT_EQ(cell(model, 0, 0), "09/03/2024 14:05:39");
}

TEST(SentenceLogModel, RowsWaitingForTheViewDoNotShiftTheShownOnes)
{
    SentenceLog log;
    SentenceLogModel model(log, {});
    log.insertFirst(at(1), "GPRMC,old");
    model.flush();
    log.insertFirst(at(2), "GPRMC,new");
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(cell(model, 0, 1), "GPRMC,old");
    model.flush();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(cell(model, 0, 1), "GPRMC,new");
}

TEST(SentenceLogModel, ClearingEmptiesTheViewAndTheNextRowStartsAtTheTop)
{
    SentenceLog log;
    SentenceLogModel model(log, {});
    log.insertFirst(at(1), "GPRMC,a");
    log.insertFirst(at(2), "GPRMC,b");
    model.flush();
    log.insertFirst(at(3), "GPRMC,unflushed");
    log.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::DisplayRole).isValid());
    log.insertFirst(at(4), "GPRMC,c");
    model.flush();
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(cell(model, 0, 1), "GPRMC,c");
}

// The log shows device text the way the command-line tool prints it.
TEST(SentenceLogModel, MarkupStaysTextAndControlCharactersShowAsEscapes)
{
    const std::pair<std::string_view, QString> cases[] = {
        {"<img src=x>", "<img src=x>"},
        {"GPGGA,1*47\r\n", "GPGGA,1*47\\r\\n"},
        {"\t", "\\t"},
        {std::string_view("\x1b[2J\0", 5), "\\x1b[2J\\x00"},
        {"\x7f\x9b", "\\x7f\\x9b"},
        {"C:\\n", "C:\\\\n"},
        {"\xb0", QString(QChar(0xB0))},
    };
    for (const auto& [bytes, shown] : cases) {
        SentenceLog log;
        SentenceLogModel model(log, [] { return false; });
        log.insertFirst(at(0), bytes);
        model.flush();
        EXPECT_EQ(cell(model, 0, 1), shown) << bytes;
    }
}

TEST(FieldLabels, DeviceTextInAFieldIsShownAsPlainText)
{
    StatusFields fields;
    FieldLabels::Labels labels{};
    std::vector<std::unique_ptr<QLabel>> owned;
    for (QLabel*& label : labels) label = owned.emplace_back(std::make_unique<QLabel>()).get();
    FieldLabels shown(fields, labels);

    EXPECT_EQ(labels[static_cast<std::size_t>(Field::CommOk)]->text(), "No");
    fields.set(Field::Latitude, "4807.0380 <img src=x>");
    QLabel* latitude = labels[static_cast<std::size_t>(Field::Latitude)];
    EXPECT_EQ(latitude->text(), "4807.0380 <img src=x>");
    EXPECT_EQ(latitude->textFormat(), Qt::PlainText);
}

}  // namespace
}  // namespace veltrane
