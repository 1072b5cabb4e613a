#pragma once
#include <QList>
#include <QString>

class QFrame;
class QHBoxLayout;
class QLabel;
class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

// The look and the building blocks the master-data windows share.

// The navy title bar naming the window's subject.
QLabel *make_title_bar(const QString &heading);
// The entry panel: its labels white on black.
QFrame *make_entry_panel();
// An entry box of at most `chars` characters, `width` pixels wide.
QLineEdit *make_text_box(const char *name, int chars, int width);
// `widgets` in one line, left-aligned.
QWidget *side_by_side(const QList<QWidget *> &widgets);
// A button of the button bar.
QPushButton *add_bar_button(QHBoxLayout *bar, const char *name, const char *caption);
// Escape does not close `dialog`: what was typed stays (closing is by the
// close button or the window's close box).
void keep_open_on_escape(QDialog *dialog);
