#pragma once

#include <QList>
#include <QString>

// The binding of a PdfConf coordinate descriptor ("ProspST.xml",
// "StampeVarie.xml", ...), read only:
//   <PdfConf>
//     <Page Name="ST1" Template="23">
//       <Section Name="cdsST" Repeat="">
//         <Edit Name="FPSTRITOPEARTE" Alignment="taRightJustify" Type="FF">
//           <PrintRect Top="228" Left="168" Height="8" Space="0" vOffset="18"
//                      oOffset="0" MinIndex="0" MaxIndex="0"/>
// Top, Left and Height are required; the other numbers are 0 when absent.
// Elements of other names are ignored.
namespace PdfConfXml {

struct TXMLPrintRectType
{
    int top = 0;
    int left = 0;
    int height = 0;
    double space = 0;
    int vOffset = 0;
    int oOffset = 0;
    int minIndex = 0;
    int maxIndex = 0;
};

struct TXMLEditType
{
    QString name;
    QString alignment;
    QString type;
    QList<TXMLPrintRectType> printRects;
};

struct TXMLSectionType
{
    QString name;
    QString repeat;
    QList<TXMLEditType> edits;
};

struct TXMLPageType
{
    QString name;
    int templatePage = 0;
    QList<TXMLSectionType> sections;
};

struct TXMLPdfConfType
{
    QList<TXMLPageType> pages;
};

// Raises EInOutError naming the file and the line of what is wrong.
TXMLPdfConfType load(const QString &path);

} // namespace PdfConfXml
