// Before the game starts: the browser's lasting storage (IndexedDB) mounted at /store and read in.
// Where it is missing or refused (some private windows), the game plays on without it.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  FS.mkdir('/store');
  try {
    FS.mount(IDBFS, {}, '/store');
  } catch (error) {
    Module.storageError = String(error);
    return;
  }
  addRunDependency('store');
  FS.syncfs(true, function (error) {
    if (error) Module.storageError = String(error);
    removeRunDependency('store');
  });
});
