#pragma once

#include <QAccessibleWidget>

class QComboBox;

// What a screen reader sees of a drop-down list that the template names. The toolkit's own
// view of a list on Linux announces the chosen item as the list's name, so a list would be
// called after the voice it shows; here the name is the template's and the item its value.
class NamedComboBoxAccessible : public QAccessibleWidget {
  public:
    explicit NamedComboBoxAccessible(QComboBox* combo);

    QString text(QAccessible::Text t) const override;

    // Makes the toolkit use this view for every list that has a name of its own.
    static void Install();
};
