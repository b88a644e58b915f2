// The glyphs Glyph.qml draws, on a 24 x 24 grid, by name. One table for the engine, not one per glyph.
// fill: filled outline (odd-even); stroke: round-capped lines; disc: a full disc under the stroke.
.pragma library

var shapes = {
    pause: { fill: "M6 4h4v16H6z M14 4h4v16h-4z" },
    close: { stroke: "M6 6L18 18 M18 6L6 18", width: 2.6 },
    photo: { fill: "M2 4h20v16H2z M3.8 5.8v12.4h16.4V5.8z M5 17l5-6.2 3.6 4.2 2.4-2.8 3 4.8z M16.5 7.5a1.8 1.8 0 1 0 0.01 0z" },
    check: { stroke: "M5 12.5l4.6 4.6L19 7.6", width: 3 },
    checkCircle: { disc: true, stroke: "M7.2 12.4l3.2 3.2 6.4-6.6", width: 2.4 },
    crossCircle: { disc: true, stroke: "M8.5 8.5l7 7 M15.5 8.5l-7 7", width: 2.4 },
    arrowUpCircle: { disc: true, stroke: "M12 17.5V7 M7.8 11.2L12 7l4.2 4.2", width: 2.4 },
    circle: { stroke: "M12 3a9 9 0 1 0 0.01 0z", width: 2 },
    chart: { fill: "M4 13h4v8H4z M10 8h4v13h-4z M16 3h4v18h-4z" },
    chevronUp: { stroke: "M5 15.5l7-7 7 7", width: 3.2 },
    spinner: { stroke: "M12 3a9 9 0 1 0 9 9", width: 2.4 },
    speaker: { fill: "M3 9h4l5.5-4.5v15L7 15H3z", stroke: "M15.5 9a4.5 4.5 0 0 1 0 6 M18 6.5a8 8 0 0 1 0 11", width: 1.8 },
    speakerMuted: { fill: "M3 9h4l5.5-4.5v15L7 15H3z", stroke: "M15.5 9.5l5 5 M20.5 9.5l-5 5", width: 1.8 }
};
