// The program's texts in the viewer's language: the catalogue built into the program for French or
// Spanish; English needs none, as the English texts are the keys.
#pragma once

#include <QString>
#include <memory>

class QTranslator;

class AppTranslator
{
public:
    // The catalogue's resource path for a Language setting (0 English, 1 French, 2 Spanish); empty for
    // English and for unknown values.
    static QString catalogueFor(int language);
    // Installs the catalogue, with the Google Earth export's own and Qt's beside it, into the application;
    // none for English or a missing catalogue.
    static std::unique_ptr<QTranslator> install(int language);
};
