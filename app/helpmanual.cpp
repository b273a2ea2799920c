#include "app/helpmanual.h"

bool OpenHelpManual()
{
    return false; // replaced by the real opener
}
