#pragma once
// The magnet link of an info-hash.
#include "text/text.h"

// "magnet:?xt=urn:btih:" + hash + "&xl": the hash goes in as it stands (no
// escaping, no change of case, no check), and the xl parameter has no value.
Text magnet_link(const Text& hash);
