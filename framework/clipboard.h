#pragma once
// The clipboard, for putting a text on it.

#include "framework/cstring.h"
#include "framework/win32.h"

class CWnd;

// Replaces the clipboard's contents with strText as CF_UNICODETEXT, owned by pOwner; the
// system gives it as CF_TEXT in the reader's code page to programs that ask for that. FALSE, with
// the clipboard as it was, when the clipboard cannot be opened (another window holds it) or memory
// runs out.
BOOL AfxSetClipboardText(CWnd* pOwner, const CString& strText);
