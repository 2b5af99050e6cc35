#include "InfoList.h"

#include "NrMessages.h"

using namespace Qt::Literals::StringLiterals;

namespace InfoList {

namespace {

Service *g_service = nullptr;

} // namespace

void setService(Service *service)
{
    g_service = service;
}

bool ask(const QStringList &lines)
{
    if (g_service)
        return g_service->ask(lines);
    return NrMessageDlg(lines.join(u"\r\n"_s) + u"\r\n\r\nSi desidera proseguire?"_s, MsgDlgType::Confirmation,
                        MsgDlgBtn::Yes | MsgDlgBtn::No)
           == ModalResult::Yes;
}

void show(const QStringList &lines)
{
    if (g_service)
        g_service->show(lines);
    else
        NrMessageDlg(lines.join(u"\r\n"_s), MsgDlgType::Information);
}

} // namespace InfoList
