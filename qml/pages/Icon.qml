import QtQuick 2.6
import "."

// Small line icons drawn on a 24 × 24 grid, so the game ships no image files.
Canvas {
    id: icon

    property string name
    property color color: Style.text

    implicitWidth: 24 * Style.unit
    implicitHeight: 24 * Style.unit

    onNameChanged: requestPaint()
    onColorChanged: requestPaint()
    onWidthChanged: requestPaint()
    onHeightChanged: requestPaint()

    function line(ctx, points) {
        ctx.beginPath()
        ctx.moveTo(points[0], points[1])
        for (var i = 2; i < points.length; i += 2)
            ctx.lineTo(points[i], points[i + 1])
        ctx.stroke()
    }

    function shape(ctx, points) {
        ctx.beginPath()
        ctx.moveTo(points[0], points[1])
        for (var i = 2; i < points.length; i += 2)
            ctx.lineTo(points[i], points[i + 1])
        ctx.closePath()
        ctx.fill()
    }

    function circle(ctx, x, y, r, filled) {
        ctx.beginPath()
        ctx.arc(x, y, r, 0, 2 * Math.PI, false)
        if (filled)
            ctx.fill()
        else
            ctx.stroke()
    }

    function magnifier(ctx) {
        circle(ctx, 10.5, 10.5, 6, false)
        line(ctx, [15, 15, 20, 20])
        line(ctx, [7.5, 10.5, 13.5, 10.5])
    }

    onPaint: {
        var ctx = getContext("2d")
        ctx.reset()
        var side = Math.min(width, height)
        if (side <= 0)
            return
        ctx.translate((width - side) / 2, (height - side) / 2)
        ctx.scale(side / 24, side / 24)
        ctx.strokeStyle = color
        ctx.fillStyle = color
        ctx.lineWidth = 2.2
        ctx.lineCap = "round"
        ctx.lineJoin = "round"

        switch (name) {
        case "pause":
            ctx.fillRect(6.5, 5, 4, 14)
            ctx.fillRect(13.5, 5, 4, 14)
            break
        case "play":
            shape(ctx, [8, 5, 19, 12, 8, 19])
            break
        case "restart":
            ctx.beginPath()
            ctx.arc(12, 12.5, 7, -0.35 * Math.PI, 1.25 * Math.PI, false)
            ctx.stroke()
            shape(ctx, [15.2, 2.8, 18.8, 7.4, 13.2, 8.6])
            break
        case "plus":
            line(ctx, [12, 5, 12, 19])
            line(ctx, [5, 12, 19, 12])
            break
        case "minus":
            line(ctx, [5, 12, 19, 12])
            break
        case "zoomIn":
            magnifier(ctx)
            line(ctx, [10.5, 7.5, 10.5, 13.5])
            break
        case "zoomOut":
            magnifier(ctx)
            break
        case "fit":
            line(ctx, [4, 9, 4, 4, 9, 4])
            line(ctx, [15, 4, 20, 4, 20, 9])
            line(ctx, [20, 15, 20, 20, 15, 20])
            line(ctx, [9, 20, 4, 20, 4, 15])
            ctx.strokeRect(8.5, 8.5, 7, 7)
            break
        case "focus":
            circle(ctx, 12, 12, 6, false)
            circle(ctx, 12, 12, 1.8, true)
            line(ctx, [12, 2.5, 12, 5.5])
            line(ctx, [12, 18.5, 12, 21.5])
            line(ctx, [2.5, 12, 5.5, 12])
            line(ctx, [18.5, 12, 21.5, 12])
            break
        case "follow":
            ctx.beginPath()
            ctx.moveTo(2.5, 12)
            ctx.quadraticCurveTo(12, 3, 21.5, 12)
            ctx.quadraticCurveTo(12, 21, 2.5, 12)
            ctx.stroke()
            circle(ctx, 12, 12, 3, true)
            break
        case "back":
            line(ctx, [15, 5, 8, 12, 15, 19])
            break
        case "next":
            line(ctx, [9, 5, 16, 12, 9, 19])
            break
        case "levels":
            ctx.fillRect(4, 4, 6.5, 6.5)
            ctx.fillRect(13.5, 4, 6.5, 6.5)
            ctx.fillRect(4, 13.5, 6.5, 6.5)
            ctx.fillRect(13.5, 13.5, 6.5, 6.5)
            break
        case "settings":
            for (var spoke = 0; spoke < 8; ++spoke) {
                var angle = spoke * Math.PI / 4
                line(ctx, [12 + 6.5 * Math.cos(angle), 12 + 6.5 * Math.sin(angle),
                           12 + 9.5 * Math.cos(angle), 12 + 9.5 * Math.sin(angle)])
            }
            circle(ctx, 12, 12, 6, false)
            circle(ctx, 12, 12, 2.4, false)
            break
        case "lock":
            ctx.beginPath()
            ctx.arc(12, 10.5, 4.2, Math.PI, 2 * Math.PI, false)
            ctx.lineTo(16.2, 11)
            ctx.moveTo(7.8, 11)
            ctx.lineTo(7.8, 10.5)
            ctx.stroke()
            ctx.fillRect(5.5, 11, 13, 9.5)
            break
        case "check":
            line(ctx, [5, 12.5, 10, 17.5, 19, 7])
            break
        case "speed":
            shape(ctx, [3.5, 6, 12, 12, 3.5, 18])
            shape(ctx, [12, 6, 20.5, 12, 12, 18])
            break
        case "rewind":
            shape(ctx, [11.5, 6, 3, 12, 11.5, 18])
            shape(ctx, [20.5, 6, 12, 12, 20.5, 18])
            break
        case "stepBack":
            ctx.fillRect(5, 6, 2.6, 12)
            shape(ctx, [18.5, 6, 9.5, 12, 18.5, 18])
            break
        case "stepForward":
            shape(ctx, [5.5, 6, 14.5, 12, 5.5, 18])
            ctx.fillRect(16.4, 6, 2.6, 12)
            break
        case "star":
            var points = []
            for (var corner = 0; corner < 10; ++corner) {
                var radius = corner % 2 === 0 ? 9.5 : 4
                var turn = -Math.PI / 2 + corner * Math.PI / 5
                points.push(12 + radius * Math.cos(turn), 12.5 + radius * Math.sin(turn))
            }
            shape(ctx, points)
            break
        case "hint":
            ctx.beginPath()
            ctx.arc(12, 9.5, 6, 0.8 * Math.PI, 2.2 * Math.PI, false)
            ctx.lineTo(14.5, 17)
            ctx.lineTo(9.5, 17)
            ctx.closePath()
            ctx.stroke()
            line(ctx, [9.5, 20.5, 14.5, 20.5])
            break
        }
    }
}
