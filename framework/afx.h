#pragma once
// The framework layer in one include: application, windows and message maps, dialogs
// and data exchange, controls, GDI and menus, over the Win32 API's wide (UTF-16) calls.

#include "framework/win32.h"

#include <commctrl.h>

#include "framework/accessible.h"
#include "framework/afxres.h"
#include "framework/byte_array.h"
#include "framework/clipboard.h"
#include "framework/cstring.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/exceptions.h"
#include "framework/gdi.h"
#include "framework/geometry.h"
#include "framework/menu.h"
#include "framework/message_map.h"
#include "framework/message_map_thunks.h"
#include "framework/object.h"
#include "framework/static.h"
#include "framework/tooltip.h"
#include "framework/wide_text.h"
#include "framework/win_app.h"
#include "framework/wnd.h"
