// What the import thread needs of a dialog it imports from (the online device dialog or the
// client database dialog): a survey of the selected rows, prepared on the GUI thread before the
// thread starts, which the thread then runs.
#pragma once

class CDeviceSurvey;

class CDeviceSource
{
public:
    virtual ~CDeviceSource() = default;
    // GUI thread: takes the selected rows and a copy of the device list for the next run.
    virtual void PrepareSurvey() = 0;
    // The survey the import thread runs; it reports row statuses back to the dialog's table.
    virtual CDeviceSurvey &Survey() = 0;
};
