// Time and peak memory of one read through "Read from Database", for a database made to hurt:
//   rows      1,000,000 devices in the device table
//   endless   a VIEW named like the device table with endless rows, each a new device
//   repeat    a VIEW repeating one device endlessly
//   silent    a recursive VIEW that computes forever and never yields a row
// The dialog is driven through its widgets only: the path field and the read button, then the
// event loop until the button reads "Import" again. A watchdog ends a read that never returns
// after 30 s and prints the figures so far.
//   QT_QPA_PLATFORM=offscreen <build>/bench-bin/bench_clientread rows|endless|repeat|silent
#include "import/importclientwidget.h"
#include "toolkit/programlook.h"
#include "toolkit/warndlg.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>

#include <sqlite3.h>

#include <cstdio>
#include <sys/resource.h>
#include <thread>

namespace {

long PeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

const char *Schema(const QByteArray &kind)
{
    const char *columns = "Address TEXT, Name TEXT, UserName TEXT, UserPwd TEXT, Port INTEGER";
    static QByteArray sql;
    if (kind == "rows") {
        sql = QByteArray("create table TInfo_Device (") + columns
            + ");"
              "insert into TInfo_Device with recursive c(x) as (select 1 union all select x + 1 from c limit 1000000) "
              "select '10.' || (x / 65536) || '.' || (x / 256 % 256) || '.' || (x % 256), 'Device ' || x, 'admin', "
              "'12345', 8000 from c;";
    } else {
        const QByteArray port = kind == "endless" ? "x" : "8000";
        const QByteArray where = kind == "silent" ? " where x < 0" : "";
        sql = "create view TInfo_Device as with recursive c(x) as (select 1 union all select x + 1 from c) "
              "select '10.0.0.1' as Address, 'Device' as Name, 'admin' as UserName, '' as UserPwd, "
            + port + " as Port from c" + where + ";";
    }
    return sql.constData();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ApplyProgramLook();
    const QByteArray kind = argc > 1 ? QByteArray(argv[1]) : QByteArray("rows");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("client.db"));
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    char *error = nullptr;
    if (sqlite3_exec(db, Schema(kind), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", error);
        return 1;
    }
    sqlite3_close(db);

    CImportClientWidget dlg(nullptr);
    dlg.setFixedSize(700, 600);
    dlg.show();
    auto *button = dlg.findChild<QPushButton *>(QStringLiteral("m_pBtnRead"));
    dlg.findChild<QLineEdit *>(QStringLiteral("m_pEditPath"))->setText(path);
    const QAbstractItemModel *model = dlg.findChild<QTreeView *>(QStringLiteral("m_pTableDevice"))->model();
    QApplication::processEvents();
    CWarnDlg::SetNextAnswer(QDialog::Accepted);

    QElapsedTimer clock;
    clock.start();
    std::thread([&clock, kind] {
        std::this_thread::sleep_for(std::chrono::seconds(30));
        std::printf("%-8s  still reading after %lld ms   peak RSS %ld MB\n", kind.constData(),
                    static_cast<long long>(clock.elapsed()), PeakRssMb());
        std::fflush(stdout);
        std::_Exit(0);
    }).detach();
    // Slow to return only when the read blocks the window.
    qint64 longestBlockMs = 0;
    QElapsedTimer block;
    block.start();
    button->click();
    longestBlockMs = block.elapsed();
    while (button->text() != QLatin1String("Import")) {
        block.restart();
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        longestBlockMs = std::max(longestBlockMs, block.elapsed());
    }
    std::printf("%-8s  read ended after %lld ms, %d rows listed, window blocked at most %lld ms   peak RSS %ld MB\n",
                kind.constData(), static_cast<long long>(clock.elapsed()), model->rowCount(),
                static_cast<long long>(longestBlockMs), PeakRssMb());
    return 0;
}
