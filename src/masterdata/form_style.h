#pragma once
#include <QString>

class QFrame;
class QLabel;

// The look the master-data windows share.

// The navy title bar naming the window's subject.
QLabel *make_title_bar(const QString &heading);
// The entry panel: its labels white on black.
QFrame *make_entry_panel();
