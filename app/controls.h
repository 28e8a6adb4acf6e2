#pragma once
// The main window's controls and menu commands, by name and by id.

// The window's controls, in the order they are created; the popup menu 菜单
// (created seventh in the design) is not a window and is built when shown.
// The records of every hit are collected by the window itself, not in a
// hidden edit box.
enum class Control {
  StatusLabel,    // 透明标签1
  PageUnitLabel,  // 标签3, "页"
  PagePrefixLabel,// 标签2, " 第"
  NextPage,       // 下一页
  PreviousPage,   // 上一页
  PageBox,        // 编辑框1
  SearchButton,   // 按钮_搜索
  KeywordBox,     // 编辑框_搜索内容
  ResultList,     // 超级列表框1
  Count
};

// Commands of the popup menu, in menu order.
enum MenuCommand : unsigned {
  kMenuOpenMagnet = 40001,  // 磁力下载
  kMenuCopyHash,            // 复制磁力
  kMenuExportAll,           // 全部导出
};

constexpr int kFirstControlId = 1001;
constexpr int control_id(Control control) { return kFirstControlId + static_cast<int>(control); }
