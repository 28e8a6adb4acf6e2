#pragma once
// Putting a text on the system clipboard.
#include "text/text.h"

// Replaces the clipboard's contents with `text`: as CF_TEXT (its code page 936
// bytes), as CF_UNICODETEXT (converted from code page 936) and with a Chinese
// (PRC) CF_LOCALE, so every reader gets the same characters whatever the
// system's ANSI code page is. An empty text leaves an empty text. When another
// program holds the clipboard nothing happens.
void copy_to_clipboard(const Text& text);
