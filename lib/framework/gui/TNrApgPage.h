#pragma once

#include <QString>

// A page of the command bar: its commands are shown together under its
// caption, pages by ascending Order; a Sorted page shows its commands in
// the order of their captions. A page InMenu is also a menu of the main
// window.
struct TNrApgPage
{
    QString name;
    QString Caption;
    int Order = 0;
    bool Sorted = false;
    bool InMenu = true;
    bool Visible = true;
    bool Enabled = true;
};
