#pragma once

#include <QStringList>

// The list window of findings ("Informazioni"). In ask mode it shows the
// lines with the question "Si desidera proseguire?" and answers whether the
// user chose "Si"; in plain mode it only shows them. The desktop installs
// its window, the command line its terminal; without one the lines go to
// the standard error and the answer is "No".
namespace InfoList {

class Service
{
public:
    virtual ~Service() = default;
    virtual bool ask(const QStringList &lines) = 0;
    virtual void show(const QStringList &lines) = 0;
};

void setService(Service *service);
bool ask(const QStringList &lines);
void show(const QStringList &lines);

} // namespace InfoList
