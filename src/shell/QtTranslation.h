#pragma once

#include <QString>

class QCoreApplication;

// Qt's own texts (file dialogs, input boxes, standard buttons, context menus)
// in Russian, from Qt's translation "qtbase_ru" in `folder` (by default where
// Qt keeps its translations). Without the file they stay in English; that is
// not an error. Returns whether the translation was installed.
bool installQtTranslation(QCoreApplication &app, const QString &folder = QString());
