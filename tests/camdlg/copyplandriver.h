// Drives the copy plan that the modify dialog opens: ticks the rows of the cameras named and
// presses OK or Cancel.
#pragma once

#include "tests/support/modaldriver.h"

#include <QAbstractItemModel>
#include <QStringList>
#include <QTableView>

#include <memory>

inline std::shared_ptr<ModalSeen> ExpectCopyPlan(QWidget *outer, const QStringList &tick, const char *button)
{
    return ExpectModal(
        [tick, button](QWidget *plan) {
            QAbstractItemModel *model = plan->findChild<QTableView *>("m_pTableCopy")->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                if (tick.contains(model->index(row, 0).data().toString()))
                    model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole);
            }
            ClickChild(plan, button);
        },
        outer);
}
