// Files dropped on the main window open as the Open command opens them: a design in a window of
// its own, a picture in the picture editor over a new design.
#pragma once

#include <QObject>

namespace vlr {

class TForm1;

class FileDrops : public QObject {
    Q_OBJECT
public:
    // Takes drops on the form for as long as this object lives.
    explicit FileDrops(TForm1& form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TForm1& form_;
};

} // namespace vlr
