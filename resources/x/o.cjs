/* Marrowdale skin: a calm, light look for the main window. A Qt style sheet; the program
   applies it when this file is present and keeps its plain white look when it is not.
   Only colours, borders and padding here: places, sizes and fonts belong to the window. */

QWidget#Form1 {
    background-color: #f2f4f7;
}

/* The six push buttons. */
QWidget#Form1 QPushButton {
    color: #24313f;
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #ffffff, stop: 1 #eef1f5);
    border: 1px solid #c3cbd5;
    border-radius: 4px;
    padding: 1px 7px;
}
QWidget#Form1 QPushButton:hover {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #f7fbff, stop: 1 #e3eefb);
    border-color: #7fa4d3;
}
QWidget#Form1 QPushButton:pressed {
    background-color: #d4e3f6;
    border-color: #4f7fbf;
}

/* The start button stands out from the list's buttons. */
QWidget#Form1 QPushButton#PushButton2 {
    color: #ffffff;
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #3f7fc4, stop: 1 #2f68a8);
    border: 1px solid #285b93;
}
QWidget#Form1 QPushButton#PushButton2:hover {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #4a8ad0, stop: 1 #3572b6);
    border-color: #285b93;
}
QWidget#Form1 QPushButton#PushButton2:pressed {
    background-color: #285b93;
}

/* The file list. */
QTreeWidget#ListView1 {
    color: #1f2a36;
    background-color: #ffffff;
    alternate-background-color: #f7f9fb;
    border: 1px solid #c3cbd5;
    border-radius: 3px;
    padding: 1px;
    selection-background-color: #2f6fb5;
    selection-color: #ffffff;
}
QTreeWidget#ListView1 QHeaderView::section {
    color: #3a4756;
    background-color: #e8ecf1;
    border: none;
    border-right: 1px solid #c3cbd5;
    border-bottom: 1px solid #c3cbd5;
    padding: 2px 4px;
}

/* The output folder: frame, box and "..." button. */
QGroupBox#Frame2 {
    color: #3a4756;
    background-color: #f2f4f7;
    border: 1px solid #c3cbd5;
    border-radius: 4px;
    margin-top: 7px;
}
QGroupBox#Frame2::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 8px;
    padding: 0px 3px;
}
QLineEdit#Text1 {
    color: #1f2a36;
    background-color: #ffffff;
    border: 1px solid #b7c0cb;
    border-radius: 3px;
    padding: 1px 5px;
    selection-background-color: #2f6fb5;
}

/* The progress bar, its text drawn on it. */
QProgressBar#ProgressBar1 {
    color: #24313f;
    background-color: #ffffff;
    border: 1px solid #c3cbd5;
    border-radius: 4px;
    text-align: center;
}
QProgressBar#ProgressBar1::chunk {
    background-color: #8fb8e6;
    border-radius: 3px;
}

/* The keyboard's focus: a frame of two pixels in a colour that stands apart from the control's
   own border, so the window can be worked without the mouse. The frame takes the place of the
   padding's first pixel, so nothing moves when the focus comes or goes. Last, so it wins. */
QWidget#Form1 QPushButton:focus,
QTreeWidget#ListView1:focus,
QLineEdit#Text1:focus {
    border: 2px solid #173f73;
}
QWidget#Form1 QPushButton:focus {
    padding: 0px 6px;
}
QTreeWidget#ListView1:focus {
    padding: 0px;
}
QLineEdit#Text1:focus {
    padding: 0px 4px;
}
/* On the blue start button a dark frame would vanish: a light yellow stands out from the blue. */
QWidget#Form1 QPushButton#PushButton2:focus {
    border: 2px solid #ffe066;
}
