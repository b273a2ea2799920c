#include "filedialog.h"

#include <QDir>
#include <QFileInfo>

CFileDialog::CFileDialog(QWidget *parent)
    : CBaseDialog(parent, false, false, false)
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

QString CFileDialog::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QString &filter, QString *selectedFilter,
                                     QFileDialog::Options options)
{
    CFileDialog frame(parent);
    // Embedded as a child widget, the file dialog is always Qt's own, never the desktop's.
    auto chooser = new QFileDialog(nullptr, QString(), QString(), QString());
    chooser->setOption(QFileDialog::DontUseNativeDialog);
    frame.SetTitle(caption);
    frame.SetContentWidget(chooser);

    chooser->setDirectory(StartDirectory(dir));
    chooser->setNameFilter(filter);
    chooser->setOptions(options | QFileDialog::DontConfirmOverwrite | QFileDialog::ReadOnly
                        | QFileDialog::DontUseNativeDialog);
    chooser->setFileMode(QFileDialog::ExistingFile);
    connect(chooser, &QDialog::accepted, &frame, &QDialog::accept);
    connect(chooser, &QDialog::rejected, &frame, &QDialog::reject);
    if (selectedFilter && !selectedFilter->isEmpty())
        chooser->selectNameFilter(*selectedFilter);

    if (frame.exec() != QDialog::Accepted)
        return QString();
    if (selectedFilter)
        *selectedFilter = chooser->selectedNameFilter();
    // Return on the frame itself accepts it without the chooser's checks: hand back only a file.
    const QStringList files = chooser->selectedFiles();
    if (files.isEmpty() || !QFileInfo(files.first()).isFile())
        return QString();
    return files.first();
}
