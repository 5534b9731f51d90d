#include "lines/LineEntry.h"

#include "base/AppContext.h"
#include "base/NumberText.h"

namespace LineEntry {

QString currentMessage()
{
    return QStringLiteral("Значение тока должно быть числовым!\r\n"
                          "Введите значение тока нагрузки или выберете один из вариантов!");
}

QString currentTitle()
{
    return QStringLiteral("Омибка ввода");
}

QString autoName(int counter)
{
    return QStringLiteral("Линия №") + QString::number(counter);
}

CableLine buildLine(const Request &request, const Permissible::PermissibleTable &table, const CalcValues &calc,
                    double &idop)
{
    const double section = NumberText::toDouble(request.sectionText);
    if (const auto value = Permissible::lookupPermissibleCurrent(table, request.choice, section))
        idop = *value;

    LineCalc::LineInput in;
    in.name = request.name;
    in.mark = request.mark;
    in.material = Permissible::materialNames().value(request.choice.material);
    in.net = request.choice.net;
    in.coreCount = LineCalc::coreCountOf(request.choice.net, request.choice.constructionText());
    in.section = section;
    in.length = NumberText::toDouble(request.lengthText);
    in.loadCurrentText = request.currentText;
    in.neutralText = request.neutralText;
    in.permissibleCurrent = idop;
    return LineCalc::computeLine(in, calc);
}

} // namespace LineEntry
