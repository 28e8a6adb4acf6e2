#include "search/magnet_link.h"

Text magnet_link(const Text& hash) { return "magnet:?xt=urn:btih:" + hash + "&xl"; }
