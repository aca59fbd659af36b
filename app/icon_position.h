#pragma once
// Where a minimised window draws its icon: centred in the client area, the odd
// pixel going to the left (top) margin. Window-free so it can be tested anywhere.

// Offset of an icon of extent nIcon centred in a client extent of nClient.
// Signed arithmetic truncating toward zero: an icon larger than the client
// area starts at or left of the edge.
constexpr int CenteredIconOffset(int nClient, int nIcon) {
    return (nClient - nIcon + 1) / 2;
}
