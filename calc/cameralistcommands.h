// Every change of the camera list as a command on Qt's undo stack: a batch added by hand, one
// camera modified, a copy plan, rows deleted, an import's merge, a standard switch, the list
// sorted by a column, and a plan opened onto the page. A command changes the CCameraList of its
// host and then tells the host which positions changed, so the host's table follows the list
// (row i is camera i) whether the change is done, undone or redone. The commands keep what they
// need to go both ways (the cameras they removed or overwrote), never a copy of the table.
#pragma once

#include "calc/bitratecalculator.h"
#include "calc/camera.h"
#include "calc/planfile.h"

#include <QUndoCommand>
#include <QVector>

class CCameraList;

// What the commands change and tell: the page that shows the list.
class CCameraListHost
{
public:
    virtual ~CCameraListHost() = default;

    virtual CCameraList &CameraList() = 0;
    // The list got, lost or changed the cameras [first, first + count).
    virtual void CamerasInserted(int first, int count) = 0;
    virtual void CamerasRemoved(int first, int count) = 0;
    virtual void CamerasChanged(int first, int count) = 0;
    // The list is in the order of a column (-1: no column), shown by the table's header.
    virtual void SortShown(int column, bool ascending) = 0;
    // The video standard the list now follows.
    virtual void StandardShown(int standard) = 0;
    // The page's whole plan: cameras, standard and input fields.
    virtual STRU_PLAN PagePlan() const = 0;
    virtual void ShowPlan(const STRU_PLAN &plan) = 0;
};

class CAddCamerasCommand : public QUndoCommand
{
public:
    // The batch is built on the first redo; a batch that adds nothing (a full list) is obsolete.
    CAddCamerasCommand(CCameraListHost *host, const STRU_CAMERA &camera, const QString &prefix, int count);
    void redo() override;
    void undo() override;

private:
    CCameraListHost *m_pHost;
    STRU_CAMERA m_camera;
    QString m_strPrefix;
    int m_iCount;
    bool m_bBuilt = false;
    QVector<STRU_CAMERA> m_added;
};

class CModifyCameraCommand : public QUndoCommand
{
public:
    CModifyCameraCommand(CCameraListHost *host, int position, const STRU_CAMERA &camera);
    void redo() override;
    void undo() override;

private:
    CCameraListHost *m_pHost;
    int m_iPosition;
    STRU_CAMERA m_before;
    STRU_CAMERA m_after;
};

// The list as a copy plan left it, taken as a whole.
class CReplaceCamerasCommand : public QUndoCommand
{
public:
    CReplaceCamerasCommand(CCameraListHost *host, const QVector<STRU_CAMERA> &cameras);
    void redo() override;
    void undo() override;

private:
    void Show(const QVector<STRU_CAMERA> &cameras);

    CCameraListHost *m_pHost;
    QVector<STRU_CAMERA> m_before;
    QVector<STRU_CAMERA> m_after;
};

class CDeleteCamerasCommand : public QUndoCommand
{
public:
    // 'positions' in any order; repeated and out-of-range positions are left out.
    CDeleteCamerasCommand(CCameraListHost *host, QVector<int> positions);
    void redo() override;
    void undo() override;

private:
    CCameraListHost *m_pHost;
    QVector<int> m_positions;       // ascending
    QVector<STRU_CAMERA> m_removed; // the cameras at m_positions
};

class CMergeCamerasCommand : public QUndoCommand
{
public:
    // The merge runs on the first redo; one that changes nothing is obsolete.
    CMergeCamerasCommand(CCameraListHost *host, const QVector<STRU_CAMERA> &imported);
    void redo() override;
    void undo() override;

private:
    CCameraListHost *m_pHost;
    QVector<STRU_CAMERA> m_imported;
    bool m_bMerged = false;
    int m_iFirstAppended = 0;
    QVector<STRU_CAMERA> m_appended;
    QVector<int> m_updated; // positions before m_iFirstAppended
    QVector<STRU_CAMERA> m_before;
    QVector<STRU_CAMERA> m_after;
};

// The two passes of a switch between PAL and NTSC, the standard left first, as the radio buttons
// report it; undo puts back every frame rate and recommended bitrate.
class CSwitchStandardCommand : public QUndoCommand
{
public:
    CSwitchStandardCommand(CCameraListHost *host, int fromStandard, int toStandard);
    void redo() override;
    void undo() override;

private:
    CCameraListHost *m_pHost;
    int m_iFrom;
    int m_iTo;
    CBitrateCalculator m_calculator;
    QVector<double> m_rates;
    QVector<int> m_recommended;
};

class CSortCamerasCommand : public QUndoCommand
{
public:
    CSortCamerasCommand(CCameraListHost *host, int column, bool ascending);
    void redo() override;
    void undo() override;

private:
    CCameraListHost *m_pHost;
    int m_iColumn;
    bool m_bAscending;
    QVector<int> m_order;
};

// A plan replacing the page's plan (opened from a file, or the empty one of "New Plan").
class COpenPlanCommand : public QUndoCommand
{
public:
    COpenPlanCommand(CCameraListHost *host, const STRU_PLAN &plan);
    void redo() override;
    void undo() override;

private:
    CCameraListHost *m_pHost;
    STRU_PLAN m_before;
    STRU_PLAN m_after;
};

// Cameras given other recording fields on the Storage page: moved to another group, another
// codec or average share. Names and positions stay.
class CEditCamerasCommand : public QUndoCommand
{
public:
    // 'cameras' are the new records of the cameras at 'positions' (same order); positions out of
    // range are left out, and a command that changes nothing is obsolete.
    CEditCamerasCommand(CCameraListHost *host, const QVector<int> &positions, const QVector<STRU_CAMERA> &cameras);
    void redo() override;
    void undo() override;

private:
    void Show(const QVector<STRU_CAMERA> &cameras);

    CCameraListHost *m_pHost;
    QVector<int> m_positions;
    QVector<STRU_CAMERA> m_before;
    QVector<STRU_CAMERA> m_after;
};

// Measured bitrates taken into the cameras ("Use measured"): each camera keeps its measurement
// and takes its average share, or its bitrate, from it (CMeasuredRate::Use).
class CUseMeasuredCommand : public CEditCamerasCommand
{
public:
    CUseMeasuredCommand(CCameraListHost *host, const QVector<int> &positions, const QVector<STRU_MEASURED> &measured,
                        int use);

private:
    static QVector<STRU_CAMERA> Measured(CCameraListHost *host, const QVector<int> &positions,
                                         const QVector<STRU_MEASURED> &measured, int use);
};
