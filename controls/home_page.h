#pragma once
// The product home page that both dialog templates give their hyperlink.
// A plain string macro so that the resource script can include it too.

#define KESTROW_HOME_PAGE_URL "https://www.example.com/kestrow/"
