#pragma once

#include "base/LightingRoom.h"

#include <QString>

// A utilisation file for the tests: a type for a luminaire efficiency of
// 100 % whose 70/50/30 row at i = 1,5 and 1,75 is the seed table's 35 and
// 37 %, and a type of a luminaire with lamps. Test data, not a source's.
inline QString testTablesText()
{
    return QStringLiteral("\"Тип\",\"Д-проба\",\"100\",\"1.4\",\"Таблица для проверки\"\r\n"
                          "\"Индекс\",1,1.5,1.75,2\r\n"
                          "70,50,30,30,35,37,39\r\n"
                          "70,50,10,28,33,35,37\r\n"
                          "50,30,10,25,30,32,34\r\n"
                          "\"Тип\",\"Лампы-проба\",\"лампа\",\"\",\"Светильник с лампами\"\r\n"
                          "\"Индекс\",1,2\r\n"
                          "70,50,30,40,50\r\n");
}

// The hall of 24 × 12 m, 6 m high, 300 lx, with LED luminaires of 9000 lm and
// 100 W hung at the ceiling over a working plane at 0,8 m.
inline LightingRoom hallRoom()
{
    LightingRoom room;
    room.id = 1;
    room.name = QStringLiteral("Зал");
    room.length = QStringLiteral("24");
    room.width = QStringLiteral("12");
    room.height = QStringLiteral("6");
    room.plane = QStringLiteral("0,8");
    room.hang = QStringLiteral("0");
    room.illuminance = QStringLiteral("300");
    room.maintenance = QStringLiteral("1,4");
    room.uniformity = QStringLiteral("1");
    room.curve = QStringLiteral("Д-проба");
    room.flux = QStringLiteral("9000");
    room.power = QStringLiteral("100");
    return room;
}
