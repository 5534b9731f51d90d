#pragma once

#include "base/Project.h"

#include <QStringList>

// The workshop of the user guide: a 630 kVA substation (Y/Yн-0, an infinite
// system), a feeder of aluminium 4x150, 150 m, to the ВРУ, and from the ВРУ
// the power board ЩС-1 (copper 4x35, 80 m), the lighting board ЩО-1 (4x16,
// 150 m) and the ventilation board ЩВ-1 (4x25, 200 m). The rows are those the
// line dialog computes (kabinor-cli line gives the same).
namespace Workshop {

inline CableLine line(int id, const QString &name, const QStringList &cells, const QString &board,
                      const QString &device, const QString &rating)
{
    CableLine l;
    l.name = name;
    l.cells = cells;
    l.checked = true;
    l.inputs = LineInputs{};
    l.inputs->material.text = cells.at(CableLine::Material);
    l.inputs->mark.text = cells.at(CableLine::Mark);
    l.inputs->loadCurrent.text = cells.at(CableLine::LoadCurrent);
    l.inputs->device.text = device;
    l.inputs->deviceRating.text = rating;
    l.inputs->readValues();
    l.place.id = id;
    l.place.board = board;
    return l;
}

// `placed`: the branches start at the ВРУ; otherwise the lines have no start,
// as in a project of an older version, and all four are checked.
inline Project project(bool placed = true)
{
    Project p;
    p.projectName = QStringLiteral("Цех");
    p.transformerPower = QStringLiteral("630");
    p.lines = {line(1, QStringLiteral("Ввод ВРУ"),
                    {"АВВГ", "4x150", "Алюминий", "150", "27", "200", "216,2", "2,52", "380"}, QStringLiteral("ВРУ"),
                    QStringLiteral("10In"), QStringLiteral("200")),
               line(2, QStringLiteral("ЩС-1"), {"ВВГ", "4x35", "Медь", "80", "40,69", "95", "110,4", "1,54", "380"},
                    QStringLiteral("ЩС-1"), QStringLiteral("C"), QStringLiteral("100")),
               line(3, QStringLiteral("ЩО-1"), {"ВВГ", "4x16", "Медь", "150", "166,87", "25", "69", "1,84", "380"},
                    QStringLiteral("ЩО-1"), QStringLiteral("C"), QStringLiteral("25")),
               line(4, QStringLiteral("ЩВ-1"), {"ВВГ", "4x25", "Медь", "200", "142,4", "35", "87,4", "2,04", "380"},
                    QStringLiteral("ЩВ-1"), QStringLiteral("C"), QStringLiteral("40"))};
    p.nextLineId = 5;
    if (placed) {
        p.lines[0].place.from = 0;
        for (int i = 1; i < 4; ++i) {
            p.lines[i].place.from = 1;
            p.lines[i].checked = false;
        }
    }
    return p;
}

} // namespace Workshop
