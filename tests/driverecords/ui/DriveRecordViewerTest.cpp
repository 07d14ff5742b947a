#include "ViewerTestSupport.h"

#include "driverecords/DriveRecordCsv.h"
#include "driverecords/RecordBytes.h"
#include "driverecords/ui/VXLSettingForFlashDataViewController.h"
#include "driverecords/ui/VXLSettingForObdDriveInfoViewController.h"
#include "settings/FileData.h"
#include "support/TempDir.h"
#include "widgets/LocalizedString.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace recordbytes;

namespace {

QByteArray flashFile(uint32_t count, int held, int firstSeq = 1)
{
    QList<QByteArray> records;
    for (int i = 0; i < held; ++i) {
        Flash f;
        f.seq = firstSeq + i;
        f.status = 1;
        f.lat = 3733;
        f.latDecimals = 9870;
        f.lon = 12658;
        f.lonDecimals = 6800;
        f.battery = 95;
        records << flashRecord(f);
    }
    return file(count, records);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString statusText(QWidget& viewer)
{
    auto* status = viewer.findChild<QLabel*>(QStringLiteral("statusField"));
    return status ? status->text() : QString();
}

TEST(FlashDataViewer, TableOfTheCardLogAndOfASecondFile)
{
    ViewerDriver driver;
    TempDir dir;
    VXLSettingForFlashDataViewController viewer;
    QAbstractItemModelTester tester(viewer.model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    auto* table = viewer.findChild<QTableView*>(QStringLiteral("tableView"));
    auto* openButton = viewer.findChild<QPushButton*>(QStringLiteral("openButton"));
    auto* exportButton = viewer.findChild<QPushButton*>(QStringLiteral("exportButton"));
    ASSERT_TRUE(table && openButton && exportButton);
    EXPECT_EQ(openButton->text(), "Open");
    EXPECT_EQ(exportButton->text(), "Export");

    // Fifteen columns at least as wide as the table says and wide enough for their titles,
    // headed by the string table's texts, which are also the titles vexlo-tool prints.
    const auto columns = driveRecordColumns(DriveRecordKind::FlashData);
    ASSERT_EQ(viewer.model()->columnCount(), 15);
    for (int c = 0; c < 15; ++c) {
        const QString title = viewer.model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_EQ(title, QString::fromLatin1(columns[size_t(c)].englishTitle)) << c;
        EXPECT_GE(table->columnWidth(c), columns[size_t(c)].width) << c;
        EXPECT_GT(table->columnWidth(c),
                  table->horizontalHeader()->fontMetrics().horizontalAdvance(title))
            << c;
    }

    // The first display with a record reads the card's log; later ones do not.
    viewer.setM_FlashDataFilePath(dir.write("DrvInfo/zuva_000.drv", flashFile(3, 3)));
    _FILEDATA record{};
    ASSERT_TRUE(ViewerDriver::waitForLoad(viewer, [&] { viewer.setFileData(&record); }));
    ASSERT_EQ(viewer.model()->rowCount(), 3);
    EXPECT_TRUE(viewer.flashDataAccess());
    EXPECT_EQ(viewer.model()->index(2, 1).data().toString(), "3");
    EXPECT_EQ(viewer.model()->index(2, 14).data().toString(), " 9.5");
    EXPECT_EQ(viewer.model()->index(0, 5).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_FALSE(viewer.model()->flags(viewer.model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(statusText(viewer), "Records: 3");
    ViewerDriver::screenshot(viewer, QStringLiteral("flash-data-viewer"));

    QSignalSpy loaded(&viewer, &VXLDriveRecordViewer::fileLoaded);
    viewer.setFileData(&record);
    viewer.displayFileData();
    QCoreApplication::processEvents();
    EXPECT_TRUE(loaded.isEmpty()) << "only the open button reads again";

    // A second file replaces every row; the row numbers start again at 1. It announces more
    // records than it holds: the viewer says how many are missing.
    driver.answer = dir.write("other.drv", flashFile(10, 2, 500));
    ASSERT_TRUE(ViewerDriver::waitForLoad(viewer, [&] { openButton->click(); }));
    EXPECT_EQ(driver.panels, 1);
    ASSERT_EQ(viewer.model()->rowCount(), 2);
    EXPECT_EQ(viewer.model()->index(0, 0).data().toString(), "1");
    EXPECT_EQ(viewer.model()->index(0, 1).data().toString(), "500");
    EXPECT_EQ(statusText(viewer), "Records: 2 (the file announces 10; 8 are missing)");

    // A file that cannot be read is reported; the rows shown stay.
    driver.answer = dir.write("short.drv", "12345");
    EXPECT_FALSE(ViewerDriver::waitForLoad(viewer, [&] { openButton->click(); }));
    ASSERT_TRUE(driver.waitForAlerts(1));
    EXPECT_EQ(driver.alerts[0].message, "The file could not be opened.");
    EXPECT_TRUE(driver.alerts[0].informative.contains("short.drv"));
    EXPECT_EQ(viewer.model()->rowCount(), 2);
    EXPECT_TRUE(openButton->isEnabled());

    // A record past the limit a viewer keeps is counted, not shown.
    VXLDriveRecordViewer::setMaxRecordsForTesting(4);
    driver.answer = dir.write("long.drv", flashFile(6, 6));
    ASSERT_TRUE(ViewerDriver::waitForLoad(viewer, [&] { openButton->click(); }));
    VXLDriveRecordViewer::setMaxRecordsForTesting(10'000'000);
    EXPECT_EQ(viewer.model()->rowCount(), 4);
    EXPECT_EQ(statusText(viewer), "Records: 4 (2 more are not shown)");
}

TEST(FlashDataViewer, ExportWritesTheTableOrSaysWhyNot)
{
    ViewerDriver driver;
    TempDir dir;
    VXLSettingForFlashDataViewController viewer;
    auto* exportButton = viewer.findChild<QPushButton*>(QStringLiteral("exportButton"));
    ASSERT_TRUE(exportButton);

    // No records: the button does nothing, not even a panel.
    viewer.setM_FlashDataFilePath(dir.write("empty.drv", flashFile(0, 0)));
    ASSERT_TRUE(ViewerDriver::waitForLoad(viewer, [&] { viewer.displayFirstTime(); }));
    exportButton->click();
    EXPECT_EQ(driver.panels, 0);

    viewer.setM_FlashDataFilePath(dir.write("two.drv", flashFile(2, 2)));
    ASSERT_TRUE(ViewerDriver::waitForLoad(viewer, [&] { viewer.loadFlashDataFile(); }));
    driver.answer = dir.filePath("export.csv");
    QSignalSpy finished(&viewer, &VXLDriveRecordViewer::exportFinished);
    exportButton->click();
    ASSERT_TRUE(driver.waitForAlerts(1));
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished[0][1].toString(), QString());
    EXPECT_EQ(driver.alerts[0].message, "VEXLO");
    EXPECT_EQ(driver.alerts[0].informative, "The file was saved.");
    const QList<QByteArray> lines = readAll(driver.answer).split('\n');
    ASSERT_EQ(lines.size(), 4); // three lines, each ended by "\n"
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lines[i].count(','), 14) << lines[i].toStdString();
    EXPECT_EQ(lines[0], "No.,Seq,Date,Time,Day,Latitude,Longitude,Distance,Speed,Max Speed,Status,"
                        "X,Y,Z,Battery");
    EXPECT_EQ(lines[2], "2,2,2023/04/15,09:30:12,SUN,3733.9870,12658.6800,0.0,0,0,A,+0.00,+0.00,"
                        "+0.00, 9.5");

    // A real failure: the folder of the chosen file is a file.
    driver.answer = dir.write("not-a-folder", "x") + QStringLiteral("/export.csv");
    exportButton->click();
    ASSERT_TRUE(driver.waitForAlerts(2));
    EXPECT_EQ(driver.alerts[1].message, "VEXLO");
    EXPECT_TRUE(driver.alerts[1].informative.startsWith("The export could not be written."))
        << driver.alerts[1].informative.toStdString();
    EXPECT_TRUE(exportButton->isEnabled());
}

TEST(ObdDriveInfoViewer, AsksForAFileOnceThenShowsAndExportsIt)
{
    ViewerDriver driver;
    TempDir dir;
    VXLSettingForObdDriveInfoViewController viewer;
    QAbstractItemModelTester tester(viewer.model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(viewer.model()->columnCount(), 26);
    EXPECT_EQ(viewer.model()->headerData(16, Qt::Horizontal).toString(), "SWA");

    _FILEDATA record{};
    viewer.setFileData(&record);
    ASSERT_TRUE(driver.waitForAlerts(1));
    EXPECT_EQ(driver.alerts[0].message, "Alarm");
    EXPECT_EQ(driver.alerts[0].informative,
              localizedString(QStringLiteral("setting.flashdata.warning")));
    EXPECT_FALSE(driver.alerts[0].informative.isEmpty());
    viewer.setFileData(&record);
    QCoreApplication::processEvents();
    EXPECT_EQ(driver.alerts.size(), 1) << "the Alarm comes once";

    Obd o;
    o.gep = 3;
    o.distance = 12345;
    o.abt = -55;
    driver.answer = dir.write("drive.obd", file(1, {obdRecord(o)}));
    auto* openButton = viewer.findChild<QPushButton*>(QStringLiteral("openButton"));
    ASSERT_TRUE(openButton);
    ASSERT_TRUE(ViewerDriver::waitForLoad(viewer, [&] { openButton->click(); }));
    ASSERT_EQ(viewer.model()->rowCount(), 1);
    EXPECT_EQ(viewer.model()->index(0, 19).data().toString(), "N");
    EXPECT_EQ(viewer.model()->index(0, 10).data().toString(), "12.3");
    EXPECT_EQ(viewer.model()->index(0, 22).data().toString(), "-0.6");
    ViewerDriver::screenshot(viewer, QStringLiteral("obd-drive-info-viewer"));

    driver.answer = dir.filePath("zuva_obd.csv");
    viewer.onSaveCSVFile();
    ASSERT_TRUE(driver.waitForAlerts(2));
    EXPECT_EQ(driver.alerts[1].message, "ZUVA");
    EXPECT_EQ(driver.alerts[1].informative, "The file was saved.");
    const QList<QByteArray> lines = readAll(driver.answer).split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].count(','), 25);
    EXPECT_EQ(lines[1].count(','), 25);
}

// The sample card's logs fill both tables (and make the pictures to look at).
TEST(DriveRecordViewers, ShowTheSampleCardLogs)
{
    ViewerDriver driver;
    const QString card = qEnvironmentVariable("VEXLO_BINARY_DIR") + QStringLiteral("/sample-card");
    VXLSettingForFlashDataViewController flash;
    flash.resize(1000, 560);
    flash.setM_FlashDataFilePath(VXLSettingForFlashDataViewController::cardFlashDataFilePath(card));
    ASSERT_TRUE(ViewerDriver::waitForLoad(flash, [&] { flash.displayFirstTime(); }));
    EXPECT_EQ(flash.model()->rowCount(), 240);
    ViewerDriver::screenshot(flash, QStringLiteral("flash-data-sample-card"));

    // The viewer's export is what vexlo-tool records prints for the same file.
    TempDir dir;
    driver.answer = dir.filePath(QStringLiteral("zuva_000.csv"));
    flash.onSaveCSVFile();
    ASSERT_TRUE(driver.waitForAlerts(1));
    DriveRecordFileReader reader(_FLASH_SAVE_VALUE_STRUCT::kSize);
    ASSERT_TRUE(reader.open(flash.flashDataFilePath()));
    QByteArray printed;
    DriveRecordCsvWriter writer(DriveRecordKind::FlashData, [&](const char* d, qsizetype n) {
        printed.append(d, n);
        return true;
    });
    writer.writeHeader(englishDriveRecordTitles(DriveRecordKind::FlashData));
    ASSERT_TRUE(streamDriveRecordsCsv<_FLASH_SAVE_VALUE_STRUCT>(reader, writer));
    EXPECT_EQ(readAll(driver.answer), printed);
    driver.alerts.clear();

    VXLSettingForObdDriveInfoViewController obd;
    obd.resize(1400, 560);
    obd.setM_FlashDataFilePath(card + QStringLiteral("/DrvInfo/zuva_000.obd"));
    ASSERT_TRUE(ViewerDriver::waitForLoad(obd, [&] { obd.displayFirstTime(); }));
    EXPECT_EQ(obd.model()->rowCount(), 240);
    EXPECT_TRUE(driver.alerts.isEmpty()) << "no Alarm when there is a file";
    obd.tableView()->scrollTo(obd.model()->index(200, 0));
    ViewerDriver::screenshot(obd, QStringLiteral("obd-drive-info-sample-card"));
}

} // namespace
