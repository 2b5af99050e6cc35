#pragma once

#include "FronteXml.h"

#include <QList>
#include <QString>

// The bindings of the coordinate descriptors of the certificate prints, read
// only:
//   <LDip>                                  (employees, "LavDip.xml")
//     <Page Name="PAna">
//       <Section Name="cdsMultiSelect" Repeat="">
//         <Edit Name="SDIP7CODFIS" Alignment="taLeftJustify" Type="SP">
//           <PrintRect Top="106" Left="30" Height="9"/>   (any number)
//   <LAut>                                  (self-employed, "LavAut.xml")
//     <Section Name="cdsSomEr" Repeat="">
//       <Edit ...><PrintRect .../></Edit>              (exactly one)
// Top, Left and Height are whole numbers, checked when the file is read.
namespace CertificateXml {

// Top, Left and Height, as in the frontispiece's descriptor.
using TXMLPrintRectType = FronteXml::TXMLPrintRectType;

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
    QList<TXMLSectionType> sections;
};

struct TXMLLDipType
{
    QList<TXMLPageType> pages;
};

struct TXMLLAutType
{
    QList<TXMLSectionType> sections;
};

// Raise EInOutError naming the file and the line of what is wrong.
TXMLLDipType loadLDip(const QString &path);
TXMLLAutType loadLAut(const QString &path);

} // namespace CertificateXml
