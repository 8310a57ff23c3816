import QtQuick 2.6
import "."

// The heading of a group of settings.
Text {
    topPadding: 1.2 * Style.margin
    font.pixelSize: Style.fontSmall
    font.bold: true
    font.capitalization: Font.AllUppercase
    font.letterSpacing: 1.2 * Style.unit
    color: Style.textDim
}
