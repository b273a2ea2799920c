// Benchmark of the client database import's two GUI-thread parts, each against its bare
// equivalent in the same run:
//   reading 10,000 devices into "Read from Database" vs. stepping the same query with SQLite's C
//   interface and filling a QStandardItemModel shown in a tree view with the same rows;
//   merging 1,023 imported cameras into a list of 1,023 with the same names vs. appending
//   1,023 rows to an empty panel.
#include "bench/benchfigures.h"
#include "calc/calculatewidget.h"
#include "import/importclientwidget.h"
#include "toolkit/warndlg.h"
#include "tools/sampledb/sampledbwriter.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>

#include <sqlite3.h>

namespace {
const int kRuns = 9;

// Both readers get a shown, empty table before the clock starts; only the read is timed.
double BareRead(const QString &path)
{
    QStandardItemModel model(0, 4);
    QTreeView view;
    view.setModel(&model);
    view.show();
    QApplication::processEvents();
    return TimeMs([&] {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, "select * from TInfo_Device", -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            auto text = [statement](int column) {
                return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)));
            };
            model.appendRow({new QStandardItem(text(1)), new QStandardItem(text(0)),
                             new QStandardItem(QString::asprintf("%5d", sqlite3_column_int(statement, 4))),
                             new QStandardItem(QStringLiteral("Not Imported"))});
        }
        sqlite3_finalize(statement);
        sqlite3_close_v2(db);
    });
}

double DialogRead(const QString &path)
{
    CImportClientWidget dlg(nullptr);
    dlg.setFixedSize(700, 600);
    dlg.show();
    dlg.findChild<QLineEdit *>(QStringLiteral("m_pEditPath"))->setText(path);
    QApplication::processEvents();
    return TimeMs([&] {
        dlg.GetDeviceFromDatabase();
        while (dlg.IsReading())
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    });
}

QVector<STRU_CAMERA> NamedCameras(int count)
{
    QVector<STRU_CAMERA> cameras(count);
    for (int i = 0; i < count; ++i) {
        cameras[i].strName = "Cam " + QByteArray::number(i + 1);
        cameras[i].strDeviceIP = "10.0.0.1";
        cameras[i].iBitrate = 2048;
    }
    return cameras;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("client.db"));
    SampleDb::DeviceOptions options;
    options.iCount = 10000;
    options.strAddressBase = "10.0.0.1";
    QList<QVariantList> rows;
    QString error;
    if (!SampleDb::MakeDeviceRows(options, &rows, &error)
        || !SampleDb::WriteTable(path, SampleDb::kDeviceTable, SampleDb::DeviceColumns(), rows, &error)) {
        out << "cannot write the database: " << error << "\n";
        return 1;
    }

    std::vector<double> bare, dialog, append, merge;
    const QVector<STRU_CAMERA> cameras = NamedCameras(1023);
    for (int run = 0; run < kRuns; ++run) {
        bare.push_back(BareRead(path));
        dialog.push_back(DialogRead(path));

        CCalculateWidget empty;
        empty.show();
        QApplication::processEvents();
        append.push_back(TimeMs([&] { empty.MergeImportedCameras(cameras); }));

        CCalculateWidget full;
        full.show();
        full.OnAddDeviceImport(cameras.first(), QStringLiteral("Cam"), 1023);
        QApplication::processEvents();
        merge.push_back(TimeMs([&] { full.MergeImportedCameras(cameras); }));
        if (full.CameraCount() != 1023)
            out << "merge appended instead of updating\n";
    }
    out << "client import, median of " << kRuns << " runs (ms)\n";
    out << QString("  read 10,000 devices: bare %1, dialog %2, ratio %3\n")
               .arg(Median(bare), 0, 'f', 1)
               .arg(Median(dialog), 0, 'f', 1)
               .arg(Median(dialog) / Median(bare), 0, 'f', 2);
    out << QString("  1,023 cameras: append to empty %1, merge same names %2, ratio %3\n")
               .arg(Median(append), 0, 'f', 1)
               .arg(Median(merge), 0, 'f', 1)
               .arg(Median(merge) / Median(append), 0, 'f', 2);
    return 0;
}
