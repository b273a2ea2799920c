#include "filedialog.h"

#include <QDir>
#include <QFileInfo>

CFileDialog::CFileDialog(QWidget *parent) : CBaseDialog(parent, false, false, false)
{
    ShowCloseBtn(true);
    setStyleSheet(styleSheet()
                  + QStringLiteral("QListView::item:hover,QFileDialogTreeView::item:hover     {         "
                                   "background-color:rgb(251,251,194);        color:rgb(0,0,0);    }     "
                                   "QListView::item:selected,QFileDialogTreeView::item:selected    {         "
                                   "background-color:rgb(238,238,238);        color:rgb(0,0,0);    } "));
    resize(600, 400);
}

QString CFileDialog::StartDirectory(const QString &dir)
{
    if (!dir.isEmpty()) {
        const QFileInfo info(QDir::current(), dir);
        if (info.isDir())
            return QDir::cleanPath(info.absoluteFilePath());
        const QFileInfo parentInfo(info.absolutePath());
        if (parentInfo.isDir())
            return QDir::cleanPath(parentInfo.absoluteFilePath());
    }
    return QDir::currentPath();
}

QStringList CFileDialog::Run(QWidget *parent, const QString &caption, QFileDialog *chooser)
{
    CFileDialog frame(parent);
    // Embedded as a child widget, the file dialog is always Qt's own, never the desktop's.
    chooser->setOption(QFileDialog::DontUseNativeDialog);
    frame.SetTitle(caption);
    frame.SetContentWidget(chooser);
    connect(chooser, &QDialog::accepted, &frame, &QDialog::accept);
    connect(chooser, &QDialog::rejected, &frame, &QDialog::reject);
    if (frame.exec() != QDialog::Accepted)
        return {};
    return chooser->selectedFiles();
}

QString CFileDialog::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                                     QString *selectedFilter, QFileDialog::Options options)
{
    auto chooser = new QFileDialog(nullptr, QString(), QString(), QString());
    chooser->setDirectory(StartDirectory(dir));
    chooser->setNameFilter(filter);
    chooser->setOptions(options | QFileDialog::DontConfirmOverwrite | QFileDialog::ReadOnly
                        | QFileDialog::DontUseNativeDialog);
    chooser->setFileMode(QFileDialog::ExistingFile);
    if (selectedFilter && !selectedFilter->isEmpty())
        chooser->selectNameFilter(*selectedFilter);

    // The chooser is owned by the frame, which Run destroys: read the filter first.
    QString chosenFilter;
    QObject::connect(chooser, &QFileDialog::filterSelected, chooser,
                     [&chosenFilter](const QString &f) { chosenFilter = f; });
    chosenFilter = chooser->selectedNameFilter();
    const QStringList files = Run(parent, caption, chooser);
    if (files.isEmpty())
        return QString();
    if (selectedFilter)
        *selectedFilter = chosenFilter;
    // Return on the frame itself accepts it without the chooser's checks: hand back only a file.
    if (!QFileInfo(files.first()).isFile())
        return QString();
    return files.first();
}

QString CFileDialog::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                                     const QString &defaultSuffix)
{
    auto chooser = new QFileDialog(nullptr, QString(), QString(), QString());
    const QFileInfo proposed(QDir::current(), dir);
    chooser->setDirectory(StartDirectory(dir));
    if (!dir.isEmpty() && !proposed.isDir())
        chooser->selectFile(proposed.fileName());
    chooser->setNameFilter(filter);
    chooser->setAcceptMode(QFileDialog::AcceptSave);
    chooser->setFileMode(QFileDialog::AnyFile);
    chooser->setDefaultSuffix(defaultSuffix);
    const QStringList files = Run(parent, caption, chooser);
    // Return on the frame accepts without the chooser's checks: a folder is no file to save to.
    if (files.isEmpty() || files.first().isEmpty() || QFileInfo(files.first()).isDir())
        return QString();
    return files.first();
}
