#pragma once

#include <QString>

#include <functional>

class Field;
class QWidget;
class TDataSource;

// What every data-aware control shares: the data source and the field it
// shows, the writing of the user's changes (the dataset goes into edit state
// at the first change), and the enabling rule of the frames: a disabled
// control is read-only, out of the tab order and painted in the button-face
// colour instead of the window colour.
class TNrDBControl
{
public:
    virtual ~TNrDBControl();

    void setDataSource(TDataSource *source);
    TDataSource *dataSource() const { return m_source; }
    void setDataField(const QString &field);
    const QString &dataField() const { return m_field; }
    // The bound field, or null while the dataset is closed or lacks it.
    Field *field() const;

    void setEditEnabled(bool enabled);
    bool editEnabled() const { return m_enabled; }

    // Shows the field's value again.
    void refresh();
    // Writes input that the field does not hold yet; raises EConvertError
    // naming the field when it does not convert.
    virtual void commitPending() {}

protected:
    explicit TNrDBControl(QWidget *widget);

    // Shows the value; `field` is null when there is nothing to show.
    virtual void showValue(const Field *field) = 0;
    virtual void setInputReadOnly(bool readOnly) = 0;
    // Writes a change the user made, putting the dataset in edit state
    // first; the control is not refreshed meanwhile, so that what the user
    // is typing stays as it is. False, with the reason shown and the value
    // shown again, when the record cannot be changed.
    bool change(const std::function<void(Field &)> &write);
    // The caption used in messages: the field's display label.
    QString caption() const;
    // Why a typed or pasted text cannot be kept whole by a text field (a
    // control character, more characters than the field holds), naming the
    // field; empty when it can.
    QString textEntryProblem(const QString &input) const;
    // Tells the user, beside the control, why an edit was given back.
    void showRefusal(const QString &problem) const;

private:
    friend class TDataSource;
    void applyAppearance();

    QWidget *m_widget;
    TDataSource *m_source = nullptr;
    QString m_field;
    bool m_enabled = true;
    bool m_writing = false;
};
