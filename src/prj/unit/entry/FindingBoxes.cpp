#include "FindingBoxes.h"

#include "NrMessages.h"

namespace {

MsgDlgType boxType(FindingLevel level)
{
    switch (level) {
    case FindingLevel::Error:
        return MsgDlgType::Error;
    case FindingLevel::Warning:
        return MsgDlgType::Warning;
    case FindingLevel::Information:
        break;
    }
    return MsgDlgType::Information;
}

} // namespace

void FindingBoxes::report(const Finding &finding)
{
    NrMessageDlg(finding.text, boxType(finding.level));
}

bool askYesNo(const QString &question)
{
    return NrMessageDlg(question, MsgDlgType::Confirmation, MsgDlgBtn::Yes | MsgDlgBtn::No) == ModalResult::Yes;
}
