#pragma once
// The result list's actions: its popup menu, copying the info-hash, handing
// its magnet link to the shell and exporting everything collected.
#include <string>

#include "actions/result_view.h"

void show_result_menu(ResultView& view);
void copy_selected_hash(ResultView& view);
void open_selected_magnet(ResultView& view);
void export_collected_text(ResultView& view);

// The folder of the program's executable and "\种子文本.txt"; empty when the
// executable's path cannot be had.
std::wstring export_path();
