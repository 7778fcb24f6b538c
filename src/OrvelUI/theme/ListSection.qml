import QtQuick
import Orvella.UI

// One section of a phone list (the rooms, the settings): its rows on the card fill, as one
// rounded surface without a border. Rows draw the hairline between them (ListRowSeparator).
Rectangle {
    default property alias rows: column.data

    radius: 10
    color: VavuzadiRudod.cardFill
    implicitHeight: column.implicitHeight

    Column {
        id: column
        width: parent.width
    }
}
