// The save panel of the trim, capture and Google Earth export tools: Qt's own file panel, opened inside
// a folder, offering one file type, its name field holding only the name it is given.
#pragma once

#include <QString>
#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

class SavePanel
{
public:
    struct Request
    {
        QString message;        // the panel's title
        QString folder;         // an existing folder (UserDefaultUtil::saveStartFolder)
        QString fileName;       // the name field's text: empty unless a name was chosen before
        QString extension;      // without the dot; added to a name that lacks it
        QString filter;         // the type filter's text; empty: "*.extension"
        QString extensionLabel; // not empty: a row with this label and a pop-up of the extension
    };

    SavePanel() = delete;

    static std::unique_ptr<QFileDialog> make(QWidget *parent, const Request &request);
    // Runs the panel modally; the chosen path, or none when it was cancelled.
    static std::optional<QString> run(QWidget *parent, const Request &request);
};
