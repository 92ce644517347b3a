// The function list's model: one row per curve of the session's document,
// in its order, with the curve's name (its label, or its formula), its
// colour as the swatch, a check box for shown or hidden, and the error of
// its last run. Checking a row shows or hides its curve through the
// document's editor (an undo step). No widget: a list view shows it.
#pragma once

#include <QAbstractListModel>

namespace qrv
{

class TDocumentSession;

class TCurveListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    // The error of the curve's last run as text; empty when none.
    static constexpr int ErrorRole = Qt::UserRole + 1;

    explicit TCurveListModel(TDocumentSession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TDocumentSession& session_;
};

} // namespace qrv
