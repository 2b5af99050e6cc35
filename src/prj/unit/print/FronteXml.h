#pragma once

#include <QList>
#include <QString>

// The binding of the Fronte coordinate descriptor of the frontispiece
// ("FrontS.xml"), read only:
//   <Fronte>
//     <Section Name="Dati del sostituto" Page="0">
//       <Edit Name="SSOSCODFIS" Alignment="" Type="" Page="0" Space="14">
//         <PrintRect Top="120" Left="300" Height="10"/>
// Every Edit has exactly one PrintRect (a second one is ignored); Top, Left
// and Height are required, the pages are 0 when absent, and a Space that is
// not a number is 0.
namespace FronteXml {

struct TXMLPrintRectType
{
    int top = 0;
    int left = 0;
    int height = 0;
};

struct TXMLEditType
{
    QString name;
    QString alignment;
    QString type;
    int page = 0;
    double space = 0;
    TXMLPrintRectType printRect;
};

struct TXMLSectionType
{
    QString name;
    int page = 0;
    QList<TXMLEditType> edits;
};

struct TXMLFronteType
{
    QList<TXMLSectionType> sections;
};

// Raises EInOutError naming the file and the line of what is wrong.
TXMLFronteType load(const QString &path);

} // namespace FronteXml
