#pragma once
// Roots of the framework's class tree: CObject, and CCmdTarget, the first class with a
// message map.

#include "framework/message_map.h"
#include "framework/win32.h"

class CObject {
public:
    virtual ~CObject() = default;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

class CCmdTarget : public CObject {
public:
    // Routes a command (WM_COMMAND's id and notification code) through the ON_COMMAND,
    // ON_BN_CLICKED and ON_CONTROL entries of this object's message map chain.
    // TRUE when an entry handled it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    // The base of every chain: a map without entries.
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    CCmdTarget() = default;

    // Finds the first entry for the message (and, for commands and reflected
    // notifications, the code and id) from this class's map down to CCmdTarget's.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
};
