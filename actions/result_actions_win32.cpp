// Result actions: not wired up yet.
#include "app/window_events_win32.h"

void show_result_menu() {}
void copy_selected_hash() {}
void open_selected_magnet() {}
void export_collected_text() {}
