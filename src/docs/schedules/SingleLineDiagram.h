#pragma once

#include "base/Project.h"
#include "calc/network/NetworkCalc.h"
#include "calc/network/NetworkTree.h"
#include "docs/writers/Drawing.h"

#include <QString>

// The principal single-line diagram of the network: the transformer, the
// 0,4 kV bus and every line that has a start, each with its breaker, cable
// label and board, the lines starting at a board below it; under the tree the
// table of design data, one column per line. A network wider or deeper than a
// sheet goes on over further sheets; where it goes on is marked on both.
namespace SingleLineDiagram {

enum class SheetFormat { A3, A4 };

struct Diagram {
    Drawing::Document document;
    int drawnLines = 0;
    int leftOut = 0; // lines without a start (or below one), not drawn
};

// "Однолинейная схема"
QString title();
// "Не показаны линии без начала: N"
QString leftOutText(int count);

// `places`: decimal places of the numbers, as the network window shows them.
Diagram build(const Project &project, const Network::Tree &tree, const Network::Result &result, int places,
              SheetFormat format = SheetFormat::A3);

// The same with the network computed as it stands (data files of the application folder).
Diagram buildFor(const Project &project, const AppContext &context, SheetFormat format = SheetFormat::A3);

// The file after its extension: ".pdf", ".svg" or ".dxf" (any case); empty
// for another extension or when the drawing could not be made.
QByteArray fileBytes(const Diagram &diagram, const QString &path);
bool knownExtension(const QString &path);

// "Файл '…' успешно сохранен." and "Не удалось сохранить схему в файл '…'. …"
QString successMessage(const QString &path);
QString failureMessage(const QString &path);

} // namespace SingleLineDiagram
