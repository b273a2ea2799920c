// Open-file chooser in the program's own frame: Qt's file dialog embedded in a CBaseDialog.
#pragma once

#include "toolkit/basedialog.h"

#include <QFileDialog>

class CFileDialog : public CBaseDialog
{
    Q_OBJECT

public:
    explicit CFileDialog(QWidget *parent);

    // The path of one existing file the user chose, or an empty string when they cancel or
    // close the frame. 'dir' may name a directory or a file in it; anything else starts in the
    // current directory.
    static QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                                   QString *selectedFilter = nullptr, QFileDialog::Options options = {});

    // The path the user chose to save to, or an empty string when they cancel. 'dir' may name
    // the proposed file; a name typed without a suffix gets 'defaultSuffix'. Overwriting is
    // confirmed by Qt's chooser.
    static QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                                   const QString &defaultSuffix);

private:
    static QString StartDirectory(const QString &dir);
    // Runs the chooser in a frame; the chosen paths, empty when cancelled.
    static QStringList Run(QWidget *parent, const QString &caption, QFileDialog *chooser);
};
