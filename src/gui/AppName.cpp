#include "AppName.h"

const wxString g_strAppName("Q417 SD");
