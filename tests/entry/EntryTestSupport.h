#pragma once

#include "ClientDataSet.h"
#include "GuiMessages.h"
#include "ScriptedInfoList.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <functional>

class TfrElfBase;
class TNrDBEdit;

// Helpers of the window tests.
namespace EntryTest {

// Opens a frame's cdsMain as DeliveredData::openTable does, followed by what
// the frame does once its dataset is open.
void openFrame(TfrElfBase &frame, const QByteArray &records = "{\"records\": []}");
// Shows a widget in an active window, so that it takes the focus and its shortcuts work.
bool showActive(QWidget *widget);
// Runs `handle` on the next modal window, once it is shown.
void onNextModal(std::function<void(QWidget *modal)> handle);
// Clicks "Annulla" of the progress window of `owner` once its run is on step `step`.
void cancelProgressAt(QWidget *owner, int step);
// The bound edit of a field inside a frame, or null.
TNrDBEdit *editOf(QWidget &frame, const QString &field);
// Replaces the text of an edit by typing, as the user does.
void typeInto(TNrDBEdit *edit, const QString &text);

} // namespace EntryTest
