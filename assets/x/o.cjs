/* Plenvoy skin: a calm, light look. A Qt style sheet; the window's controls are named
   Form1, ListView1, PushButton1 to PushButton6, Frame1, Frame2, Combo1 and Text1.
   Pictures named skin:NAME lie beside this file. */

#Form1, QDialog, QMessageBox, QInputDialog {
    background-color: #f2f4f7;
    color: #1f2d3d;
}

/* Box buttons carry words only. */
QDialogButtonBox {
    dialogbuttonbox-buttons-have-icons: 0;
}
QMessageBox QPushButton, QInputDialog QPushButton {
    min-width: 72px;
    padding: 4px 12px;
}

QToolTip {
    background-color: #27313d;
    color: #f5f7fa;
    border: none;
    border-radius: 4px;
    padding: 4px 6px;
}

/* Frames: white cards with a quiet border and the caption on the edge. */
#Frame1, #Frame2 {
    background-color: #ffffff;
    border: 1px solid #d6dce4;
    border-radius: 7px;
    margin-top: 7px;
    color: #3b4b5f;
}
#Frame1::title, #Frame2::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 10px;
    padding: 0 4px;
    background-color: #f2f4f7;
    color: #3b4b5f;
}

/* Push buttons. */
QPushButton {
    background-color: #ffffff;
    color: #22344a;
    border: 1px solid #c3cbd6;
    border-radius: 6px;
    padding: 0 8px;
}
QPushButton:hover {
    background-color: #eef4fc;
    border-color: #86aede;
}
QPushButton:pressed {
    background-color: #dce8f7;
    border-color: #5f93d2;
}
QPushButton:focus {
    border: 1px solid #3d7fd0;
}
QPushButton:disabled {
    color: #9aa5b3;
    background-color: #f5f6f8;
}
#PushButton2 {
    background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3e82d4, stop:1 #2c68b8);
    color: #ffffff;
    border: 1px solid #2860a8;
}
#PushButton2:hover {
    background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4b8ddc, stop:1 #3273c4);
}
#PushButton2:pressed {
    background-color: #2a62ad;
}
#PushButton2:focus {
    border: 1px solid #1c4a86;
}
#PushButton6 {
    padding: 0;
}

/* The file list. */
#ListView1 {
    background-color: #ffffff;
    alternate-background-color: #f7f9fb;
    border: 1px solid #cdd4dd;
    border-radius: 6px;
    selection-background-color: #d5e5f9;
    selection-color: #14263b;
}
#ListView1::item {
    padding: 2px 4px;
}
#ListView1::item:hover {
    background-color: #eef4fc;
}
#ListView1::item:selected {
    background-color: #d5e5f9;
    color: #14263b;
}
#ListView1:focus {
    border-color: #3d7fd0;
}
#ListView1 QHeaderView::section {
    background-color: #eef1f5;
    color: #3b4b5f;
    border: none;
    border-bottom: 1px solid #d6dce4;
    border-right: 1px solid #d6dce4;
    padding: 3px 6px;
}
#ListView1 QHeaderView {
    background-color: #eef1f5;
    border-top-left-radius: 6px;
    border-top-right-radius: 6px;
}

/* The drop-down and the folder box. */
#Combo1, #Text1, QInputDialog QLineEdit {
    background-color: #ffffff;
    color: #1f2d3d;
    border: 1px solid #c3cbd6;
    border-radius: 4px;
    padding: 0 6px;
    selection-background-color: #3d7fd0;
    selection-color: #ffffff;
}
#Combo1 {
    combobox-popup: 0;
}
#Combo1:hover, #Text1:hover {
    border-color: #86aede;
}
#Combo1:focus, #Text1:focus, QInputDialog QLineEdit:focus {
    border-color: #3d7fd0;
}
#Combo1::drop-down {
    subcontrol-origin: padding;
    subcontrol-position: center right;
    width: 20px;
    border: none;
}
#Combo1::down-arrow {
    image: url(skin:arrow-down.png);
    width: 10px;
    height: 6px;
}
#Combo1 QAbstractItemView {
    background-color: #ffffff;
    padding: 2px;
    border: 1px solid #c3cbd6;
    selection-background-color: #d5e5f9;
    selection-color: #14263b;
    outline: none;
}

#Combo1 QAbstractItemView::item {
    min-height: 22px;
    padding: 0 4px;
}

/* Thin scroll bars. */
QScrollBar:vertical {
    background: transparent;
    width: 10px;
    margin: 2px;
}
QScrollBar:horizontal {
    background: transparent;
    height: 10px;
    margin: 2px;
}
QScrollBar::handle:vertical, QScrollBar::handle:horizontal {
    background: #c2cad4;
    border-radius: 3px;
    min-height: 24px;
    min-width: 24px;
}
QScrollBar::handle:vertical:hover, QScrollBar::handle:horizontal:hover {
    background: #9eabba;
}
QScrollBar::add-line, QScrollBar::sub-line, QScrollBar::add-page, QScrollBar::sub-page {
    background: none;
    border: none;
    width: 0;
    height: 0;
}
