// Tells the page when the game's main function returns. Main sleeps through
// Asyncify at every frame, so its final return reaches none of Emscripten's
// callers; a start-up failure returns before the first sleep.
(function () {
  var main = Module["_main"];
  Module["_main"] = function (argc, argv) {
    var code = main(argc, argv);
    var report = function (status) { if (Module["quillfrostEnded"]) Module["quillfrostEnded"](status); };
    if (Asyncify.currData) Asyncify.whenDone().then(report);
    else report(code);
    return code;
  };
})();
