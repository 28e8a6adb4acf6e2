#pragma once
// What the result actions read from the window that shows the hits, and the
// one thing they ask it to do. Each call is carried out whole on the window's
// thread, where the actions run.
#include "text/text.h"

class ResultView {
public:
  virtual ~ResultView() = default;
  virtual int row_count() = 0;
  // The info-hash of the first selected row; empty when no row is selected.
  virtual Text selected_hash() = 0;
  // Every record collected since start-up.
  virtual Text collected_text() = 0;
  // Shows the popup menu 菜单 with its left top corner at the screen point,
  // owned by the window; returns when it closes. A chosen item reaches the
  // window as a command afterwards.
  virtual void show_menu(int x, int y) = 0;
};
