// The page around the game: loading, the game's hooks, the phone's first tap, the offline copy. Its
// sentences follow the browser's languages, from the game's own catalogues (strings.js, made from po/).
(function () {
  var $ = function (id) { return document.getElementById(id); };
  // As the game chooses: the first of the browser's languages it has; Traditional Chinese readers get
  // their next choice, any Portuguese the Brazilian.
  function languageOf(tag) {
    var parts = tag.split(/[-_]/);
    var language = parts[0].toLowerCase();
    if (language === 'zh') return /^(TW|HK|MO|Hant)$/i.test(parts[1] || '') ? null : 'zh_CN';
    return language === 'pt' ? 'pt_BR' : language;
  }
  var words = {};
  var all = window.MOONVALE_STRINGS || {};
  var tags = navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language || 'en'];
  for (var i = 0; i < tags.length; i++) {
    var code = languageOf(tags[i]);
    if (code === 'en' || all[code]) {
      words = all[code] || {};
      document.documentElement.lang = code.replace('_', '-');
      break;
    }
  }
  function t(context, id) { return words[context + '\u0004' + id] || id; }
  $('status').textContent = t('web page', 'Loading...');
  $('thanks').textContent = t('web page', 'Moonvale has ended. Thank you for playing.');
  $('again').textContent = t('web page', 'Play again');
  $('sideways').textContent = t('web page', 'Turn your device sideways to play.');
  $('waits').textContent = t('web page', 'The game stays paused until then.');
  function fail(message) {
    $('bar').classList.add('hidden');
    $('status').textContent = message;
  }
  function note(message) {
    $('note').textContent = message;
    $('note').classList.remove('hidden');
    setTimeout(function () { $('note').classList.add('hidden'); }, 8000);
  }
  if (typeof WebAssembly !== 'object') {
    fail(t('web page',
           'Moonvale needs WebAssembly, which this browser does not offer. It runs in a current Firefox, Chrome, Edge or Safari.'));
    return;
  }
  var storageNoted = false;
  // ?renderer=software or ?renderer=opengles2 forces the game's choice, as --renderer does on the desktop;
  // ?seed=N starts every game from seed N, as --seed does.
  var query = new URLSearchParams(location.search);
  var renderer = query.get('renderer');
  var launch = renderer === 'software' || renderer === 'opengles2' ? ['--renderer', renderer] : [];
  if (/^[0-9]+$/.test(query.get('seed') || '')) launch.push('--seed', query.get('seed'));
  // ?watch=DATE/RANK plays that run of a closed day from the board, as --watch does.
  if (/^\d{4}-\d{2}-\d{2}\/\d{1,6}$/.test(query.get('watch') || '')) launch.push('--watch', query.get('watch'));
  window.Module = {
    canvas: $('canvas'),
    arguments: launch,
    // The game's log: the console is where a player of the web version can find it.
    print: function (text) { console.log(text); },
    printErr: function (text) { (/^(ERROR|CRITICAL)/.test(text) ? console.error : console.log)(text); },
    setStatus: function (text) {
      var m = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
      if (m) $('fill').style.width = (100 * m[1] / m[2]) + '%';
    },
    onRuntimeInitialized: function () {
      $('loading').classList.add('hidden');
      $('canvas').focus();
      checkUpright();
      if (Module.storageError) Module.storageFailed(Module.storageError);
    },
    storageFailed: function (why) {
      if (storageNoted) return;
      storageNoted = true;
      console.log('Storage refused: ' + why);
      note(t('web page', 'This browser does not let Moonvale keep your high score and settings.'));
    },
    gameEnded: function () {
      $('canvas').classList.add('hidden');
      $('ended').classList.remove('hidden');
    },
    onAbort: function (what) {
      fail(t('web page', 'Moonvale stopped: {why}').replace('{why}', what));
      $('loading').classList.remove('hidden');
    },
  };
  // Upright, a phone would show the 16:9 picture in a strip a third of its height, too small to play
  // with thumbs: the game pauses (as when the page loses the focus) until the phone is turned.
  var upright = matchMedia('(orientation: portrait) and (pointer: coarse)');
  function checkUpright() {
    $('turn').classList.toggle('hidden', !upright.matches);
    if (upright.matches) window.dispatchEvent(new FocusEvent('blur'));
  }
  upright.addEventListener('change', checkUpright);
  // A phone's first tap asks for the whole screen, held sideways where the browser allows it (Chrome on
  // Android), and starts the sound inside that same gesture, which Safari requires. A finger's gesture
  // counts when it lifts (it could have been a scroll until then).
  window.addEventListener('pointerup', function firstTouch(event) {
    if (event.pointerType !== 'touch') return;
    window.removeEventListener('pointerup', firstTouch, true);
    var page = document.documentElement;
    if (page.requestFullscreen && !document.fullscreenElement) {
      page.requestFullscreen({ navigationUI: 'hide' }).then(function () {
        if (screen.orientation && screen.orientation.lock) return screen.orientation.lock('landscape');
      }).catch(function () {});
    }
    var audio = Module.SDL3 && Module.SDL3.audioContext;
    if (audio && audio.state !== 'running') audio.resume();
  }, true);
  // Installed on the first visit, it serves every later one, with or without the network.
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('sw.js').catch(function (error) {
      console.log('No offline copy: ' + error);
    });
  }
  function start() {
    var script = document.createElement('script');
    script.src = 'moonvale.js';
    script.onerror = function () { fail(t('web page', 'The game could not be loaded. Reload the page to try again.')); };
    document.body.appendChild(script);
  }
  // The board: ?board=URL, else this page's own site when moonvale-board --site serves it, which says so
  // in a header of every file. The page is asked again for it (from the offline copy once there is one,
  // which kept the header): a plain host answers it without, and no request fails.
  var here = location.origin + location.pathname.replace(/\/[^\/]*$/, '');
  if (query.get('board')) {
    launch.push('--board', query.get('board'));
    start();
  } else {
    fetch('index.html?board', { cache: 'no-store' })
      .then(function (answer) { if (answer.headers.get('X-Moonvale-Board')) launch.push('--board', here); })
      .catch(function () {})
      .then(start);
  }
})();
